#pragma once

// A reading of the local wall clock, already broken down.
struct LocalDateTime {
  int year = 2000;
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int weekday = 6;  // 0 = Sunday .. 6 = Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The local wall clock.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime now() const = 0;
};
