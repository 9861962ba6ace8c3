#pragma once

#include "app/frm_uhr.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_tick_timer.h"

// The whole clock on the real platform: the window model wired to the Qt window, timer, tray,
// sound and lock. Needs a QApplication.
class ClockProgram {
 public:
  ClockProgram();

  // Runs the start-up; false when another instance runs and this one has ended.
  bool start();
  ClockWindow& window() { return platform_.window(); }

 private:
  QtPlatform platform_;
  frmUhr form_;
  QtTickTimer ticks_;
};
