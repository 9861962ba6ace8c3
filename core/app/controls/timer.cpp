#include "core/app/controls/timer.h"

#include "core/app/controls/assign.h"

void Timer::setInterval(int milliseconds) {
  if (assign(interval_, milliseconds)) notifyPlatform();
}

void Timer::setEnabled(bool enabled) {
  if (assign(enabled_, enabled)) notifyPlatform();
}

void Timer::fire() const {
  if (running() && onTimer) onTimer();
}

void Timer::notifyPlatform() const {
  if (platformHook) platformHook();
}
