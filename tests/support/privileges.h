#pragma once

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

// What some tests need and a machine may not give (root outside a container, a real root folder).
namespace privileges {

// Moves this process into a mount namespace of its own whose mounts stay in it.
inline bool enterPrivateMounts() {
  return unshare(CLONE_NEWNS) == 0 &&
         mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

inline bool playAnotherUser() {
  return setgid(65534) == 0 && setuid(65534) == 0;
}

// To what it says already.
inline bool setTheWallClock() {
  timespec now{};
  return clock_gettime(CLOCK_REALTIME, &now) == 0 && clock_settime(CLOCK_REALTIME, &now) == 0;
}

// The line of a test that skips for want of what it needs, tried in a child that takes any change
// with it; "" where it can be had.
inline std::string whyNot(const char* need, bool (*attempt)()) {
  const pid_t child = fork();
  if (child == 0) _exit(attempt() ? 0 : errno);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return std::string("needs ") + need + ": the probe did not end";
  const int error = WEXITSTATUS(status);
  return error == 0 ? "" : std::string("needs ") + need + ": " + std::strerror(error);
}

inline std::string whyNoPrivateMounts() {
  return whyNot("a mount namespace of its own, / a mount point (so not in a chroot)",
                enterPrivateMounts);
}

}  // namespace privileges
