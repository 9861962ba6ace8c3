#pragma once

#include <string_view>

#include "core/app/frm_uhr.h"
#include "platform/qt/command_server.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_tick_timer.h"

// The whole clock on the real platform: the window model wired to the Qt window, timer, tray,
// sound, lock and command socket. Needs a QApplication.
class ClockProgram {
 public:
  ClockProgram();
  ~ClockProgram();
  ClockProgram(const ClockProgram&) = delete;
  ClockProgram& operator=(const ClockProgram&) = delete;

  // Runs the start-up; when another instance runs, this one ends inside it.
  void start();
  // A command of another process of this user's (clockCommand): "sprich" as a click on
  // "Sprich", "anzeigen" as "Uhr Anzeigen" and to the front.
  void obey(std::string_view command);

  ClockWindow& window() { return platform_.window(); }
  frmUhr& form() { return form_; }

 private:
  QtPlatform platform_;
  frmUhr form_;
  QtTickTimer ticks_;
  CommandServer commands_;
  // Spoken commands taken and not yet done: a flood of them must not pile up announcements.
  int speechesAsked_ = 0;
};
