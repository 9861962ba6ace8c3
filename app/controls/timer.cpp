#include "app/controls/timer.h"

void Timer::setInterval(int milliseconds) {
  if (interval_ == milliseconds) return;
  interval_ = milliseconds;
  notifyPlatform();
}

void Timer::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  notifyPlatform();
}

void Timer::fire() const {
  if (running() && onTimer) onTimer();
}

void Timer::notifyPlatform() const {
  if (platformHook) platformHook();
}
