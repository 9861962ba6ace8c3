#include "platform/posix/instance_lock_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Made if missing; usable only if it is a real folder of this user's that nobody else may write.
bool privateFolder(const std::string& path) {
  if (path.empty() || path.front() != '/') return false;
  mkdir(path.substr(0, path.rfind('/')).c_str(), 0700);
  mkdir(path.c_str(), 0700);
  struct stat folder {};
  return lstat(path.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) &&
         folder.st_uid == geteuid() && (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

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
    if (!privateFolder(folder)) continue;
    const int fd = openLock(folder + "/lurvendel.lock");
    if (fd < 0) continue;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      return false;
    }
    const bool held = errno == EWOULDBLOCK;
    close(fd);
    if (held) return true;
  }
  return false;
}

std::vector<std::string> InstanceLockFile::defaultFolders() {
  std::vector<std::string> folders;
  if (const std::string runtime = environment("XDG_RUNTIME_DIR"); !runtime.empty()) {
    folders.push_back(runtime);
  }
  folders.push_back("/tmp/lurvendel-" + std::to_string(geteuid()));
  const std::string cache = environment("XDG_CACHE_HOME");
  const std::string home = environment("HOME");
  if (!cache.empty()) {
    folders.push_back(cache + "/lurvendel");
  } else if (!home.empty()) {
    folders.push_back(home + "/.cache/lurvendel");
  }
  return folders;
}
