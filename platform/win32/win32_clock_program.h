#pragma once

#include <string_view>

#include "core/app/frm_uhr.h"
#include "core/speech/speech_requests.h"
#include "platform/common/deadline_audio_output.h"
#include "platform/win32/win32_call_gate.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_tick_timer.h"
#include "platform/win32/win32_window_host.h"

class InstanceLock;

// The whole clock on Windows: the window model wired to the native window, its timer, the
// notification icon, sound, the claim of one clock per session and the commands of the user's
// other processes.
class Win32ClockProgram {
 public:
  explicit Win32ClockProgram(InstanceLock& instance);
  ~Win32ClockProgram();
  Win32ClockProgram(const Win32ClockProgram&) = delete;
  Win32ClockProgram& operator=(const Win32ClockProgram&) = delete;

  // Runs the start-up; when another instance runs, this one ends inside it.
  void start();
  // A command of another process of this user's (clockCommand): "sprich" as a click on "Sprich",
  // a whole announcement after any other; "anzeigen" as "Uhr Anzeigen" and to the front. False
  // when the clock is too busy to take it.
  bool obey(std::string_view command);

  Win32WindowHost& window() { return window_; }
  frmUhr& form() { return form_; }
  Win32CallGate& gate() { return gate_; }

 private:
  Win32CallGate gate_;
  Win32Clock clock_;
  Win32WindowHost window_;
  Win32Dialogs dialogs_;
  DeadlineAudioOutput audio_;
  Platform ports_;
  frmUhr form_;
  Win32TickTimer ticks_;
  SpeechRequests speech_;
};
