#pragma once

// Ends the program at once: no further events run, no handler further up the stack goes on, and
// no window stays open.
class ProgramEnd {
 public:
  virtual ~ProgramEnd() = default;
  [[noreturn]] virtual void endProgram() = 0;
};
