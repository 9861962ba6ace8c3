#include "core/speech/speech_requests.h"

#include <utility>

#include "core/app/frm_uhr.h"
#include "core/app/vocabulary.h"

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
    form_.speakForRequest();
    --waiting_;
  }
  scheduled_ = false;
}

void frmUhr::speakForRequest() {
  holdingAnnouncements = true;
  Command1.press();
  holdingAnnouncements = false;
  const Held held = std::exchange(heldAnnouncement, Held::none);
  // Alarm mode chosen meanwhile silences it, as it would have.
  if (held == Held::none || alarmArmed != 0 || Option2.value()) return;
  PlayClip(clip::announcementSignal);
  sayHourOnly = held == Held::hour ? 1 : 0;
  SpeakTime();
}
