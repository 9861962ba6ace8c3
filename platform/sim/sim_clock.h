#pragma once

#include <cstdint>

#include "core/ports/clock.h"

// Virtual local time in milliseconds; it moves only when a test or the simulation moves it.
class SimClock : public Clock {
 public:
  void set(int year, int month, int day, int hour, int minute, int second, int millisecond = 0);
  void setTimeOfDay(int hour, int minute, int second, int millisecond = 0);
  void advance(std::int64_t milliseconds) { ms_ += milliseconds; }
  void advanceTo(std::int64_t ms);
  std::int64_t ms() const { return ms_; }
  LocalDateTime now() const override;

  // Time that passes with every reading, to put a boundary between two steps of one handler.
  std::int64_t advancePerRead = 0;

 private:
  mutable std::int64_t ms_ = 0;  // since 1970-01-01 00:00 local
};
