#include "platform/qt/qt_tick_timer.h"

namespace {
constexpr int secondMs = 1000;
}

QtTickTimer::QtTickTimer(Timer& timer, const Clock& clock, QtCallGate& gate)
    : timer_(timer), clock_(clock), gate_(gate) {
  qtimer_.setSingleShot(true);
  qtimer_.setTimerType(Qt::PreciseTimer);
  connect(&qtimer_, &QTimer::timeout, this, &QtTickTimer::onTimeout);
  timer_.platformHook = [this] { follow(); };
  gate_.afterUserCall = [this] { tickSoon(); };
  for (const int fd : jumps_.descriptors()) {
    if (fd < 0) continue;
    auto& notifier =
        jumpNotifiers_.emplace_back(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read));
    connect(notifier.get(), &QSocketNotifier::activated, this, [this] {
      if (jumps_.jumped() && timer_.running()) qtimer_.start(0);
    });
  }
  follow();
}

void QtTickTimer::follow() {
  if (timer_.running()) {
    armAfter(timer_.interval());
  } else {
    qtimer_.stop();
  }
}

void QtTickTimer::tickSoon() {
  if (!timer_.running()) return;
  const int interval = timer_.interval();
  const int due = interval - clock_.now().millisecond % interval + 1;
  if (!qtimer_.isActive() || qtimer_.remainingTime() > due) qtimer_.start(due);
}

// One millisecond past the boundary, so the tick never reads the clock just before it.
void QtTickTimer::armAfter(int stepMs) {
  qtimer_.start(stepMs - clock_.now().millisecond % stepMs + 1);
}

void QtTickTimer::onTimeout() {
  if (!timer_.running()) return;
  armAfter(secondMs);
  if (tickWaiting_) return;
  tickWaiting_ = true;
  gate_.deliverTick([this] {
    tickWaiting_ = false;
    timer_.fire();
  });
}
