#pragma once

#include <string>
#include <vector>

#include "core/ports/instance_lock.h"
#include "platform/posix/session_folders.h"

// Single instance through an advisory lock on a file in a folder that only this user can write
// to. The kernel drops the lock when the holder dies, so an instance that was killed never blocks
// the next start. The folders are tried in order; one that is not this user's alone is passed
// over, for there another user could hold the lock or take it away. Where no lock can be had at
// all, the clock starts.
class InstanceLockFile : public InstanceLock {
 public:
  explicit InstanceLockFile(std::vector<std::string> folders = sessionFolders());
  ~InstanceLockFile() override;
  InstanceLockFile(const InstanceLockFile&) = delete;
  InstanceLockFile& operator=(const InstanceLockFile&) = delete;

  // Takes the lock if it is free and keeps it for the life of this object.
  bool anotherInstanceRunning() override;
  // The folder where the lock is held; empty while none is.
  const std::string& folder() const { return folder_; }

 private:
  std::vector<std::string> folders_;
  std::string folder_;
  int fd_ = -1;
};
