#pragma once

#include "core/ports/clock.h"

// The local time of the system's wall clock, in the time zone and daylight saving time that
// Windows has at this moment.
class Win32Clock : public Clock {
 public:
  LocalDateTime now() const override;
};
