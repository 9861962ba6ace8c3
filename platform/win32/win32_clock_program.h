#pragma once

#include <string_view>

#include "platform/common/deadline_audio_output.h"
#include "platform/common/model_runner.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/win32_call_gate.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_tick_timer.h"
#include "platform/win32/win32_window_host.h"

class InstanceLock;

// The whole clock on Windows: the window model wired to the native window, its timer, the
// notification icon, sound, the claim of one clock per session and the commands of the user's
// other processes, which reach the window.
class Win32ClockProgram {
 public:
  explicit Win32ClockProgram(InstanceLock& instance);
  ~Win32ClockProgram();

  // Runs the start-up; when another instance runs, this one ends inside it.
  void start() { model_.start(); }
  ClockAnswer obey(std::string_view command) { return model_.obey(command); }

  Win32WindowHost& window() { return window_; }
  frmUhr& form() { return model_.form(); }

 private:
  ComApartment com_;
  Win32CallGate gate_;
  Win32Clock clock_;
  Win32WindowHost window_;
  Win32Dialogs dialogs_;
  DeadlineAudioOutput audio_;
  Platform ports_;
  ModelRunner model_;
  Win32TickTimer ticks_;
};
