#pragma once

#include <functional>
#include <string_view>

#include "core/app/frm_uhr.h"
#include "core/speech/speech_requests.h"
#include "platform/common/clock_requests.h"

class CallGate;

// The window model as a desktop program runs it: started through the call gate, and carrying out
// the commands of the user's other processes (clockCommand).
class ModelRunner {
 public:
  ModelRunner(Platform& ports, CallGate& gate, std::function<void()> bringWindowToFront);

  // Runs the start-up; when another instance runs, this one ends inside it.
  void start();
  // "sprich" as a click on "Sprich", a whole announcement after any other; "anzeigen" as "Uhr
  // Anzeigen", and the window to the front; "beenden" as a close of the window, but only once
  // the clock is quiet, asking while an alarm is armed; "beenden-ohne-frage" the same, but an
  // armed alarm keeps the clock without a question. A clock that ends does so inside.
  ClockAnswer obey(std::string_view command);

  frmUhr& form() { return form_; }

 private:
  CallGate& gate_;
  std::function<void()> bringWindowToFront_;
  frmUhr form_;
  SpeechRequests speech_;
};
