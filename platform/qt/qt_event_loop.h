#pragma once

#include <deque>
#include <functional>

#include "platform/ports/event_pump.h"
#include "platform/ports/program_end.h"

// The Qt event loop as the window model sees it. While a clip plays the window goes on painting
// and taking input, but every call into the model waits for the pump point after the clip, as it
// would behind a thread that the clip blocks; a close that ends the program is let through at
// once. The end is immediate: the process exits where it stands, so that no handler further up
// the stack goes on and no clip plays past it.
class QtEventLoop : public EventPump, public ProgramEnd {
 public:
  // Runs a call into the window model now, or, while a clip plays, at the next pump point.
  void deliver(std::function<void()> call);
  // Keeps the window alive while a clip plays: called over and over until the clip has ended.
  void whileClipPlays();

  void processPendingEvents() override;
  [[noreturn]] void endProgram() override;

 private:
  bool clipPlaying_ = false;
  std::deque<std::function<void()>> waiting_;
};
