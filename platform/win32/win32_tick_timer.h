#pragma once

#include <cstdint>

#include "core/app/controls/timer.h"
#include "core/ports/clock.h"
#include "platform/win32/message_window.h"
#include "platform/win32/win32_call_gate.h"

// Drives the model's clock timer, waking it only when a tick can matter: just after each second
// of the wall clock, at the next boundary of the timer's interval after anything the user did and
// after the timer was switched on again, and at once when the clock jumped. The next tick is armed
// before the handler runs: a tick that falls due while the handler pumps messages then runs
// nested. Ticks that fall due while a clip plays make one tick after it.
class Win32TickTimer {
 public:
  Win32TickTimer(Timer& timer, const Clock& clock, Win32CallGate& gate);

  // A call of the user's has reached the model.
  void afterUserAction();
  // The wall clock was set, the time zone changed, or the machine woke from sleep.
  void clockJumped();

 private:
  void follow();
  void onTimer();
  // Arms the wake for the next multiple of step milliseconds on the wall clock, one millisecond
  // past it, unless one is armed earlier.
  void armAtNext(int step);
  void armIn(std::int64_t milliseconds);
  std::int64_t wallMilliseconds() const;

  Timer& timer_;
  const Clock& clock_;
  Win32CallGate& gate_;
  MessageWindow wakes_;
  bool armed_ = false;
  std::int64_t dueAt_ = 0;  // the armed wake, in wall-clock milliseconds
  bool tickWaiting_ = false;
};
