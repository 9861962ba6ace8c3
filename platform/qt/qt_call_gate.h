#pragma once

#include "platform/common/call_gate.h"

// The call gate on Qt's event loop. The end is immediate: the process exits where it stands.
class QtCallGate : public CallGate {
 public:
  [[noreturn]] void endProgram() override;

 protected:
  void dispatchPendingEvents() override;
  void scheduleQuietCalls() override;
};
