#pragma once

#include <memory>
#include <vector>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include "core/app/controls/timer.h"
#include "core/ports/clock.h"
#include "platform/posix/wall_clock_timer.h"
#include "platform/qt/qt_call_gate.h"

// Drives the model's clock timer, waking the process only when a tick can change something: at
// each second of the wall clock, so a display changes within a millisecond or two of the true
// second; within one interval after what a user does or the timer being switched on, as the
// timer's own rhythm would; at once when the clock jumps or the zone changes. The next tick is
// armed before the handler runs: a tick that falls due while the handler pumps events then runs
// nested. Ticks that fall due while a clip plays make one tick after it.
class QtTickTimer : public QObject {
 public:
  QtTickTimer(Timer& timer, const Clock& clock, QtCallGate& gate);

  // Something a tick reads may have changed: a tick within one interval.
  void tickSoon();

 private:
  void follow();
  void onWallClock();
  void tick();

  Timer& timer_;
  const Clock& clock_;
  QtCallGate& gate_;
  WallClockTimer seconds_;
  std::vector<std::unique_ptr<QSocketNotifier>> wallClockNotifiers_;
  QTimer soon_;
  bool tickWaiting_ = false;
};
