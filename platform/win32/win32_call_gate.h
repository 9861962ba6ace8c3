#pragma once

#include <deque>
#include <functional>

#include "core/ports/event_pump.h"
#include "core/ports/program_end.h"
#include "platform/win32/message_window.h"

// The gate every call into the window model passes. While a clip plays, the message loop goes on
// (the window paints and takes input) but the gate holds each call until the pump point after the
// clip, as a thread that the clip blocks would; a close that ends the program is let through at
// once. Pumping runs what the gate held, then the pending messages, once. A call may also wait
// for quiet: until no call into the model runs at all. The end is immediate: the process ends
// where it stands, so that no handler further up the stack goes on and no clip plays past it.
class Win32CallGate : public EventPump, public ProgramEnd {
 public:
  Win32CallGate();

  // Runs a call into the window model now, or, while a clip plays, at the next pump point. The
  // call is the user's doing or the window's (a click, a key, a paint): afterUserCall follows it.
  void deliver(std::function<void()> call);
  // The same for the clock tick, which nobody did.
  void deliverTick(std::function<void()> call);
  // Runs a call into the window model once no other call into it runs, never inside the caller.
  void whenQuiet(std::function<void()> call);
  // Keeps the window alive while a clip plays: called over and over until the clip has ended.
  void whileClipPlays();

  void processPendingEvents() override;
  [[noreturn]] void endProgram() override;

  // Told each time a delivered call has run that was not a tick.
  std::function<void()> afterUserCall;

 private:
  void run(std::function<void()> call, bool byUser);
  void runQuietCalls();

  bool clipPlaying_ = false;
  int depth_ = 0;  // calls into the model under way, one inside the other
  std::deque<std::function<void()>> waiting_;
  std::deque<std::function<void()>> quiet_;
  MessageWindow quietSignal_;
};
