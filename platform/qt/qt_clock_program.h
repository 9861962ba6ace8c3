#pragma once

#include <string_view>

#include "platform/common/model_runner.h"
#include "platform/qt/command_server.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_tick_timer.h"

class PosixInstanceLock;

// The whole clock on Linux: the window model wired to the Qt window, timer, tray, sound, the claim
// of one clock per user and its command socket. Needs a QApplication.
class QtClockProgram {
 public:
  explicit QtClockProgram(PosixInstanceLock& claim,
                          QtTrayHost::IconMaker makeIcon = QtTrayHost::systemTrayIcon);
  ~QtClockProgram();

  // Runs the start-up, then takes commands; when another instance runs, this one ends inside it.
  void start();
  ClockAnswer obey(std::string_view command) { return model_.obey(command); }

  QtWindowHost& window() { return platform_.window(); }
  frmUhr& form() { return model_.form(); }

 private:
  PosixInstanceLock& claim_;
  QtPlatform platform_;
  ModelRunner model_;
  QtTickTimer ticks_;
  CommandServer commands_;
};
