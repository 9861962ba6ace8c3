#pragma once

#include <QObject>
#include <QTimer>

#include "core/app/controls/timer.h"
#include "core/ports/clock.h"
#include "platform/qt/qt_call_gate.h"

// Drives the model's clock timer. Ticks are laid just after the wall clock's multiples of the
// interval, so a display changes within milliseconds of the true second. The next tick is armed
// before the handler runs: a tick that falls due while the handler pumps events then runs nested.
// Ticks that fall due while a clip plays make one tick after it.
class QtTickTimer : public QObject {
 public:
  QtTickTimer(Timer& timer, const Clock& clock, QtCallGate& gate);

 private:
  void follow();
  void armForNextBoundary();
  void onTimeout();

  Timer& timer_;
  const Clock& clock_;
  QtCallGate& gate_;
  QTimer qtimer_;
  bool tickWaiting_ = false;
};
