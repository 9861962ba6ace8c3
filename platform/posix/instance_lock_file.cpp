#include "platform/posix/instance_lock_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace {

// The lock file, made if missing; a folder left in its place is locked just as well.
int openLock(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd >= 0 || errno != EISDIR) return fd;
  return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

InstanceLockFile::InstanceLockFile(std::vector<std::string> folders)
    : folders_(std::move(folders)) {}

InstanceLockFile::~InstanceLockFile() {
  if (fd_ >= 0) close(fd_);
}

bool InstanceLockFile::anotherInstanceRunning() {
  if (fd_ >= 0) return false;
  for (const std::string& folder : folders_) {
    if (!privateFolder(folder, true)) continue;
    const int fd = openLock(folder + "/lurvendel.lock");
    if (fd < 0) continue;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      folder_ = folder;
      return false;
    }
    const bool held = errno == EWOULDBLOCK;
    close(fd);
    if (held) return true;
  }
  return false;
}
