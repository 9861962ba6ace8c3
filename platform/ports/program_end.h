#pragma once

// Ends the program at once: no further events run and no window stays open.
class ProgramEnd {
 public:
  virtual ~ProgramEnd() = default;
  virtual void endProgram() = 0;
};
