#pragma once

#include "platform/ports/clock.h"

// The local time of the system's wall clock (time zone and daylight saving included).
class SystemClock : public Clock {
 public:
  LocalDateTime now() const override;
};
