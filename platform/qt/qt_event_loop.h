#pragma once

#include "platform/ports/event_pump.h"
#include "platform/ports/program_end.h"

// The Qt event loop as the model sees it: pumping pending events, and ending the program.
// Both share one flag, because once the program ends no further event may run, not even from a
// handler that is still unwinding.
class QtEventLoop : public EventPump, public ProgramEnd {
 public:
  void processPendingEvents() override;
  void endProgram() override;
  bool ended() const { return ended_; }

 private:
  bool ended_ = false;
};
