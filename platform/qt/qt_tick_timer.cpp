#include "platform/qt/qt_tick_timer.h"

QtTickTimer::QtTickTimer(Timer& timer, const Clock& clock, QtCallGate& gate)
    : timer_(timer), clock_(clock), gate_(gate) {
  qtimer_.setSingleShot(true);
  qtimer_.setTimerType(Qt::PreciseTimer);
  connect(&qtimer_, &QTimer::timeout, this, &QtTickTimer::onTimeout);
  timer_.platformHook = [this] { follow(); };
  follow();
}

void QtTickTimer::follow() {
  if (timer_.running()) {
    armForNextBoundary();
  } else {
    qtimer_.stop();
  }
}

void QtTickTimer::armForNextBoundary() {
  const int interval = timer_.interval();
  const int millisecond = clock_.now().millisecond;
  // One millisecond past the boundary, so the tick never reads the clock just before it.
  qtimer_.start(interval - millisecond % interval + 1);
}

void QtTickTimer::onTimeout() {
  if (!timer_.running()) return;
  armForNextBoundary();
  if (tickWaiting_) return;
  tickWaiting_ = true;
  gate_.deliver([this] {
    tickWaiting_ = false;
    timer_.fire();
  });
}
