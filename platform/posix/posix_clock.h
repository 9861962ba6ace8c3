#pragma once

#include <ctime>

#include "core/ports/clock.h"

// The local time of the system's wall clock (time zone and daylight saving included).
class PosixClock : public Clock {
 public:
  LocalDateTime now() const override;

 private:
  // The tick reads the clock several times ten times a second; the calendar is worked out once
  // a second.
  mutable time_t cachedSecond_ = -1;
  mutable tm cachedLocal_{};
};
