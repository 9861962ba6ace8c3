#pragma once

#include <QObject>
#include <QTimer>

#include "app/controls/timer.h"
#include "platform/ports/clock.h"

// Drives the model's clock timer. Ticks are laid just after the wall clock's multiples of the
// interval, so a display changes within milliseconds of the true second. The next tick is armed
// before the handler runs: a tick that falls due while the handler pumps events then runs nested.
class QtTickTimer : public QObject {
 public:
  QtTickTimer(Timer& timer, const Clock& clock);

 private:
  void follow();
  void armForNextBoundary();
  void onTimeout();

  Timer& timer_;
  const Clock& clock_;
  QTimer qtimer_;
};
