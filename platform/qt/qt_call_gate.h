#pragma once

#include <deque>
#include <functional>

#include "core/ports/event_pump.h"
#include "core/ports/program_end.h"

// The gate every call into the window model passes. While a clip plays, Qt's event loop goes on
// (the window paints and takes input) but the gate holds each call until the pump point after the
// clip, as a thread that the clip blocks would; a close that ends the program is let through at
// once. Pumping runs what the gate held, then Qt's pending events, once. A call may also wait
// for quiet: until no call into the model runs at all. The end is immediate: the process exits
// where it stands, so that no handler further up the stack goes on and no clip plays past it.
class QtCallGate : public EventPump, public ProgramEnd {
 public:
  // Runs a call into the window model for the user now, or, while a clip plays, at the next pump
  // point; afterUserCall follows it.
  void deliver(std::function<void()> call);
  // The clock's own tick, delivered as calls are.
  void deliverTick(std::function<void()> tick);
  // The user changed something a tick reads without a call into the model (the window's state).
  void userActed() const;
  // Runs a call into the window model once no other call into it runs, never inside the caller.
  void whenQuiet(std::function<void()> call);
  // Keeps the window alive while a clip plays: called over and over until the clip has ended.
  void whileClipPlays();

  void processPendingEvents() override;
  [[noreturn]] void endProgram() override;

  // What follows whatever a user does: a tick, so that it sees the change within an interval.
  std::function<void()> afterUserCall;

 private:
  void pass(std::function<void()> call);
  void runQuietSoon();

  bool clipPlaying_ = false;
  int depth_ = 0;  // calls into the model under way, one inside the other
  std::deque<std::function<void()>> waiting_;
  std::deque<std::function<void()>> quiet_;
};
