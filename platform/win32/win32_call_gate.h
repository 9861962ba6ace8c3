#pragma once

#include "platform/common/call_gate.h"
#include "platform/win32/message_window.h"

// The call gate on the thread's message loop. The end is immediate: the process ends where it
// stands.
class Win32CallGate : public CallGate {
 public:
  Win32CallGate();

  [[noreturn]] void endProgram() override;

 protected:
  void dispatchPendingEvents() override;
  void scheduleQuietCalls() override;

 private:
  MessageWindow quietSignal_;
};
