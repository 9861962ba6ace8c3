#include "platform/posix/instance_lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

InstanceLockFile::InstanceLockFile(std::string path) : path_(std::move(path)) {}

InstanceLockFile::~InstanceLockFile() {
  if (fd_ >= 0) close(fd_);
}

bool InstanceLockFile::anotherInstanceRunning() {
  if (fd_ >= 0) return false;
  const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  // A lock file that cannot be made at all must not keep the clock from starting.
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    close(fd);
    return held;
  }
  fd_ = fd;
  return false;
}

std::string InstanceLockFile::defaultPath() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    return std::string(runtime) + "/lurvendel.lock";
  }
  return "/tmp/lurvendel-" + std::to_string(getuid()) + ".lock";
}
