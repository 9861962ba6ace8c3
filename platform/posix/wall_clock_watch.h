#pragma once

#include <array>

// Tells when the wall clock may have jumped: it was set (by hand, by time synchronisation, on
// resume from suspend), or the system's time zone changed (a new /etc/localtime). It never wakes
// on its own: the kernel makes its descriptors readable when it happens.
class WallClockWatch {
 public:
  WallClockWatch();
  ~WallClockWatch();
  WallClockWatch(const WallClockWatch&) = delete;
  WallClockWatch& operator=(const WallClockWatch&) = delete;

  // The descriptors to wait on; -1 for one that could not be made.
  std::array<int, 2> descriptors() const { return {clockSet_, zoneFolder_}; }
  // Takes what made them readable; whether it was a jump of the clock or a change of the zone.
  bool jumped();

 private:
  void armClockSet();

  int clockSet_;
  int zoneFolder_;
};
