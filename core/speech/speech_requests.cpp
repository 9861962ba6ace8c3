#include "core/speech/speech_requests.h"

#include <utility>

#include "core/app/frm_uhr.h"

SpeechRequests::SpeechRequests(frmUhr& form, std::function<void(Call)> whenQuiet)
    : form_(form), whenQuiet_(std::move(whenQuiet)) {}

SpeechRequests::Reply SpeechRequests::speak() {
  if (waiting_ >= maxWaiting) return Reply::busy;
  ++waiting_;
  if (!scheduled_) {
    scheduled_ = true;
    whenQuiet_([this] { speakAll(); });
  }
  return Reply::taken;
}

// Requests taken while one is spoken are spoken after it, in the same quiet turn.
void SpeechRequests::speakAll() {
  while (waiting_ > 0) {
    form_.Command1.press();
    --waiting_;
  }
  scheduled_ = false;
}
