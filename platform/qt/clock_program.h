#pragma once

#include "app/frm_uhr.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_tick_timer.h"

// The whole clock on the real platform: the window model wired to the Qt window, timer, tray,
// sound and lock. Needs a QApplication.
class ClockProgram {
 public:
  ClockProgram();

  // Runs the start-up; when another instance runs, this one ends inside it.
  void start();
  ClockWindow& window() { return platform_.window(); }
  frmUhr& form() { return form_; }

 private:
  QtPlatform platform_;
  frmUhr form_;
  QtTickTimer ticks_;
};
