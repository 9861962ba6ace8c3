#pragma once

#include <functional>

class frmUhr;

// Spoken requests from outside the window (another process of the user's asks the clock to
// speak). Each is a whole announcement of its own, as a click on "Sprich" makes it, but it waits
// until no handler of the window runs, so that it never interleaves with another announcement;
// requests taken meanwhile follow one after the other. A few may wait; beyond that the clock is
// busy and says so.
class SpeechRequests {
 public:
  enum class Reply { taken, busy };
  using Call = std::function<void()>;

  // whenQuiet runs a call once no handler of the window runs, never inside the caller.
  SpeechRequests(frmUhr& form, std::function<void(Call)> whenQuiet);

  Reply speak();

 private:
  void speakAll();

  static constexpr int maxWaiting = 3;  // the one speaking included
  frmUhr& form_;
  std::function<void(Call)> whenQuiet_;
  int waiting_ = 0;
  bool scheduled_ = false;
};
