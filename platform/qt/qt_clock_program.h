#pragma once

#include <string_view>

#include "core/app/frm_uhr.h"
#include "core/speech/speech_requests.h"
#include "platform/qt/command_server.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_tick_timer.h"

class PosixInstanceLock;

// The whole clock on the real platform: the window model wired to the Qt window, timer, tray,
// sound, the claim of one clock per user and its command socket. Needs a QApplication.
class QtClockProgram {
 public:
  explicit QtClockProgram(PosixInstanceLock& claim);
  ~QtClockProgram();
  QtClockProgram(const QtClockProgram&) = delete;
  QtClockProgram& operator=(const QtClockProgram&) = delete;

  // Runs the start-up; when another instance runs, this one ends inside it.
  void start();
  // A command of another process of this user's (clockCommand): "sprich" as a click on "Sprich",
  // a whole announcement after any other; "anzeigen" as "Uhr Anzeigen" and to the front. False
  // when the clock is too busy to take it.
  bool obey(std::string_view command);

  QtWindowHost& window() { return platform_.window(); }
  frmUhr& form() { return form_; }

 private:
  PosixInstanceLock& claim_;
  QtPlatform platform_;
  frmUhr form_;
  QtTickTimer ticks_;
  SpeechRequests speech_;
  CommandServer commands_;
};
