#pragma once

#include <functional>

// The clock timer: an interval in milliseconds and an enabled switch. A platform timer watches
// it through platformHook and calls fire() when a tick falls due.
class Timer {
 public:
  int interval() const { return interval_; }
  void setInterval(int milliseconds);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool running() const { return enabled_ && interval_ > 0; }

  // Runs the tick handler, unless the timer is stopped.
  void fire() const;

  std::function<void()> onTimer;
  std::function<void()> platformHook;

 private:
  void notifyPlatform() const;

  int interval_ = 0;
  bool enabled_ = true;
};
