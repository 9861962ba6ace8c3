#pragma once

#include <string>
#include <vector>

#include "platform/ports/instance_lock.h"

// Single instance through an advisory lock on a file in a folder that only this user can write
// to. The kernel drops the lock when the holder dies, so an instance that was killed never blocks
// the next start. The folders are tried in order; one that is not this user's alone is passed
// over, for there another user could hold the lock or take it away. Where no lock can be had at
// all, the clock starts.
class InstanceLockFile : public InstanceLock {
 public:
  explicit InstanceLockFile(std::vector<std::string> folders = defaultFolders());
  ~InstanceLockFile() override;
  InstanceLockFile(const InstanceLockFile&) = delete;
  InstanceLockFile& operator=(const InstanceLockFile&) = delete;

  // Takes the lock if it is free and keeps it for the life of this object.
  bool anotherInstanceRunning() override;

  // The session's runtime folder, a folder of this user's in /tmp, one in the user's cache.
  static std::vector<std::string> defaultFolders();

 private:
  std::vector<std::string> folders_;
  int fd_ = -1;
};
