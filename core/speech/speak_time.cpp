#include "core/app/frm_uhr.h"
#include "core/app/vocabulary.h"
#include "core/speech/number_rule.h"

void frmUhr::playNumber(int value, NumberUse use) {
  for (const std::int16_t id : numberClips(value, use)) PlayClip(id);
}

// Each display is read when its part is reached, so ticks between clips move what is spoken.
void frmUhr::SpeakTime() {
  if (numberIn(Label4.caption()) && numberIn(Label5.caption())) {
    playNumber(*numberIn(Label4.caption()), NumberUse::hour);
    PlayClip(clip::hourWord);
    if (sayHourOnly == 1) {
      sayHourOnly = 0;
      return;
    }
    const int minute = numberIn(Label5.caption()).value_or(0);
    platform_.pump.processPendingEvents();
    if (minute < 60) playNumber(minute, NumberUse::minute);
  }
  if (sayHourOnly == 1) {
    sayHourOnly = 0;
    return;
  }
  // The seconds display stands still while its value is spoken.
  Timer1.setEnabled(false);
  if (numberIn(Label6.caption()).value_or(0) != 0) {
    PlayClip(clip::link);
    const int second = numberIn(Label6.caption()).value_or(0);
    platform_.pump.processPendingEvents();
    if (second < 60) {
      playNumber(second, NumberUse::second);
      PlayClip(second == 1 ? clip::oneSecond : clip::seconds);
    }
  }
  Timer1.setEnabled(true);
  sayHourOnly = 0;
}

void frmUhr::Command1_Click() {
  if (Label5.caption() == "00") sayHourOnly = 1;
  PlayClip(clip::opening);
  SpeakTime();
}
