#pragma once

#include "app/local_time.h"

// The local wall clock.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime now() const = 0;
};
