#pragma once

#include <deque>
#include <functional>

#include "core/ports/event_pump.h"
#include "core/ports/program_end.h"

// The gate every call into the window model passes. While a clip plays, the platform's event
// loop goes on (the window paints and takes input) but the gate holds each call until the pump
// point after the clip, as a thread that the clip blocks would; a close that ends the program is
// let through at once. Pumping runs what the gate held, then the loop's pending events, once. A
// call may also wait for quiet: until no call into the model runs at all. Each platform supplies
// its loop and its immediate end.
class CallGate : public EventPump, public ProgramEnd {
 public:
  // Runs a call into the window model for the user (a click, a key, a paint) now, or, while a
  // clip plays, at the next pump point; afterUserCall follows it.
  void deliver(std::function<void()> call);
  // The clock's own tick, delivered as calls are.
  void deliverTick(std::function<void()> tick);
  // Runs a call into the window model once no other call into it runs, never inside the caller.
  void whenQuiet(std::function<void()> call);
  // Keeps the window alive while a clip plays: called over and over until the clip has ended.
  void whileClipPlays();
  // The user changed something a tick reads without a call into the model (the window's state).
  void userActed() const;
  // Whether no call into the model runs now and no clip plays.
  bool quiet() const { return depth_ == 0 && !clipPlaying_; }

  void processPendingEvents() override;

  // What follows whatever a user does: a tick, so that it sees the change within an interval.
  std::function<void()> afterUserCall;

 protected:
  // Runs the events the platform's loop holds at this moment, once.
  virtual void dispatchPendingEvents() = 0;
  // Has runQuietCalls() run from the platform's loop soon.
  virtual void scheduleQuietCalls() = 0;
  // From inside a handler's pump or dialog the calls wait for the handler to end.
  void runQuietCalls();

 private:
  void run(std::function<void()> call, bool byUser);

  bool clipPlaying_ = false;
  int depth_ = 0;  // calls into the model under way, one inside the other
  std::deque<std::function<void()>> waiting_;
  std::deque<std::function<void()>> quiet_;
};
