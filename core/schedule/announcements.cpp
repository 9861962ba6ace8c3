#include "core/app/frm_uhr.h"
#include "core/app/vocabulary.h"
#include "core/speech/number_rule.h"

// A new hour brings the window back, also from the tray, and announces the hour alone. An hour
// that changes at any other minute than 00 is a jump of the clock (a resume from suspend, the
// clock set by hand): resetting the displays would show and speak a wrong time, so the minute's
// change event alone decides what is said.
void frmUhr::Label4_Change() {
  ShowForm();
  if (alarmArmed != 0 || Option2.value()) return;
  if (platform_.clock.now().minute != 0) return;
  if (holdAnnouncement(true)) return;
  if (clockStarted == 1) {
    Label5.setCaption("00");
    Label6.setCaption("00");
  }
  sayHourOnly = 1;
  if (clockStarted == 1) PlayClip(clip::announcementSignal);
  SpeakTime();
}

// The interval is read from the option buttons each time, so a new choice counts from the next
// minute on. The first run, raised by the start-up fill, announces without the signal.
void frmUhr::Label5_Change() {
  if (alarmArmed != 0 || Option2.value()) return;
  if (clockStarted == 1) Label6.setCaption("00");
  const int interval = announcementInterval();
  const int minute = numberIn(Label5.caption()).value_or(0);
  if (interval != 0 && minute % interval == 0 && minute != 0 && !holdAnnouncement(false)) {
    if (clockStarted == 1) PlayClip(clip::announcementSignal);
    SpeakTime();
  }
  clockStarted = 1;
}

void frmUhr::Label6_Change() {}

bool frmUhr::holdAnnouncement(bool hourOnly) {
  if (!holdingAnnouncements) return false;
  if (heldAnnouncement != Held::hour) heldAnnouncement = hourOnly ? Held::hour : Held::minute;
  return true;
}
