#pragma once

#include <cerrno>
#include <ctime>
#include <functional>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

// What some tests need and a machine may not give: each answers why not, in words for a skipped
// test's line, or "" where it can be had. Tried in a child, which takes the change with it.

namespace privileges {

// The errno a probe ran into in a child, or 0.
inline int probe(const std::function<bool()>& attempt) {
  const pid_t child = fork();
  if (child == 0) _exit(attempt() ? 0 : errno);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : EINTR;
}

// Moves this process into a mount namespace of its own whose mounts stay in it: / must be a mount
// point that can be made private, which it is not in a chroot, and unprivileged containers may not
// mount at all.
inline bool enterPrivateMounts() {
  return unshare(CLONE_NEWNS) == 0 &&
         mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

inline std::string whyNoPrivateMounts() {
  switch (probe(enterPrivateMounts)) {
    case 0:
      return "";
    case EINVAL:
      return "needs a mount namespace of its own: / is no mount point here (a chroot?)";
    default:
      return "needs a mount namespace of its own: not permitted here (root, outside a container)";
  }
}

// Other users than the test's, played by uids of nobody's.
inline std::string whyNoOtherUsers() {
  return probe([] { return setgid(65534) == 0 && setuid(65534) == 0; }) == 0
             ? ""
             : "needs to play other users: no setuid here (root, outside a user namespace)";
}

// Setting the wall clock, here to what it says already.
inline std::string whyClockCannotBeSet() {
  return probe([] {
           timespec now{};
           return clock_gettime(CLOCK_REALTIME, &now) == 0 &&
                  clock_settime(CLOCK_REALTIME, &now) == 0;
         }) == 0
             ? ""
             : "needs to set the wall clock: not permitted here";
}

}  // namespace privileges
