#pragma once

// Per-user single-instance detection.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  virtual bool anotherInstanceRunning() = 0;
};
