#include "platform/qt/qt_tick_timer.h"

QtTickTimer::QtTickTimer(Timer& timer, const Clock& clock, QtCallGate& gate)
    : timer_(timer), clock_(clock), gate_(gate) {
  soon_.setSingleShot(true);
  soon_.setTimerType(Qt::PreciseTimer);
  connect(&soon_, &QTimer::timeout, this, &QtTickTimer::tick);
  for (const int fd : seconds_.descriptors()) {
    if (fd < 0) continue;
    auto& notifier = wallClockNotifiers_.emplace_back(
        std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read));
    connect(notifier.get(), &QSocketNotifier::activated, this, &QtTickTimer::onWallClock);
  }
  timer_.platformHook = [this] { follow(); };
  gate_.afterUserCall = [this] { tickSoon(); };
  follow();
}

void QtTickTimer::follow() {
  if (timer_.running()) {
    seconds_.armForNextSecond();
    tickSoon();
  } else {
    seconds_.disarm();
    soon_.stop();
  }
}

// One millisecond past the interval's boundary, so the tick never reads the clock just before it.
void QtTickTimer::tickSoon() {
  if (!timer_.running()) return;
  const int interval = timer_.interval();
  const int due = interval - clock_.now().millisecond % interval + 1;
  if (!soon_.isActive() || soon_.remainingTime() > due) soon_.start(due);
}

void QtTickTimer::onWallClock() {
  const WallClockTimer::Wake wake = seconds_.wake();
  if (wake == WallClockTimer::Wake::none || !timer_.running()) return;
  seconds_.armForNextSecond();
  tick();
}

void QtTickTimer::tick() {
  if (!timer_.running() || tickWaiting_) return;
  tickWaiting_ = true;
  gate_.deliverTick([this] {
    tickWaiting_ = false;
    timer_.fire();
  });
}
