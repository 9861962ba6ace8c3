#pragma once

#include <functional>
#include <string_view>

#include "core/app/frm_uhr.h"
#include "core/speech/speech_requests.h"

class CallGate;

// The window model as a desktop program runs it: started through the call gate, and carrying out
// the commands of the user's other processes (clockCommand).
class ModelRunner {
 public:
  ModelRunner(Platform& ports, CallGate& gate, std::function<void()> bringWindowToFront);

  // Runs the start-up; when another instance runs, this one ends inside it.
  void start();
  // "sprich" as a click on "Sprich", a whole announcement after any other; "anzeigen" as "Uhr
  // Anzeigen", and the window to the front. False when the clock is too busy to take it.
  bool obey(std::string_view command);

  frmUhr& form() { return form_; }

 private:
  CallGate& gate_;
  std::function<void()> bringWindowToFront_;
  frmUhr form_;
  SpeechRequests speech_;
};
