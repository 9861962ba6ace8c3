#pragma once

#include <array>

#include "platform/posix/unique_fd.h"

// Wakes at each second of the wall clock, to the microsecond, and at once when the wall clock
// jumps: it was set (by hand, by time synchronisation, on resume from suspend) or the system's
// time zone changed (a new /etc/localtime). Both come as readable descriptors, so that an event
// loop sleeps until then and never wakes in between.
class WallClockTimer {
 public:
  enum class Wake { none, second, jump };

  WallClockTimer();

  // The descriptors to wait on; -1 for one that could not be made.
  std::array<int, 2> descriptors() const { return {seconds_.get(), zoneFolder_.get()}; }
  void armForNextSecond();
  void disarm();
  // Takes what made a descriptor readable: a second began, the clock jumped, or nothing of note.
  Wake wake();

 private:
  UniqueFd seconds_;
  UniqueFd zoneFolder_;
};
