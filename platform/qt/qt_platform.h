#pragma once

#include "core/ports/platform.h"
#include "platform/common/deadline_audio_output.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_instance_lock.h"
#include "platform/qt/qt_call_gate.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_tray_host.h"
#include "platform/qt/qt_window_host.h"

class frmUhr;

// The real implementations of every port, in one place for main().
class QtPlatform {
 public:
  QtPlatform(PosixInstanceLock& claim, QtTrayHost::IconMaker makeIcon);

  Platform& ports() { return ports_; }
  // Icon clicks go to the window model; the popup menu goes to hosts that draw it themselves.
  void connectTray(frmUhr& form);
  QtWindowHost& window() { return window_; }
  const Clock& clock() const { return clock_; }
  QtCallGate& gate() { return gate_; }

 private:
  PosixClock clock_;
  QtCallGate gate_;
  QtWindowHost window_;
  QtDialogs dialogs_;
  QtTrayHost tray_;
  DeadlineAudioOutput audio_;
  Platform ports_;
};
