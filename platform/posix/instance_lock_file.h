#pragma once

#include <string>

#include "platform/ports/instance_lock.h"

// Single instance through an advisory lock on a per-user file. The kernel drops the lock when
// the holder dies, so an instance that was killed never blocks the next start.
class InstanceLockFile : public InstanceLock {
 public:
  explicit InstanceLockFile(std::string path = defaultPath());
  ~InstanceLockFile() override;
  InstanceLockFile(const InstanceLockFile&) = delete;
  InstanceLockFile& operator=(const InstanceLockFile&) = delete;

  // Takes the lock if it is free and keeps it for the life of this object.
  bool anotherInstanceRunning() override;

  static std::string defaultPath();

 private:
  std::string path_;
  int fd_ = -1;
};
