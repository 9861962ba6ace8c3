#include "core/alarm/time_of_day.h"
#include "core/app/frm_uhr.h"
#include "core/app/local_time.h"

namespace {
constexpr int wideWidthTwips = 6615;
constexpr std::int16_t backspace = 8;
}  // namespace

void frmUhr::Option2_Click() {
  for (MenuItem* item : intervalMenuItems()) item->setChecked(false);
  for (MenuItem* item : {&mnuEins, &mnuFünf, &mnuDreissig, &mnuFünz}) item->setEnabled(false);
  platform_.window.setOuterWidthTwips(wideWidthTwips);
}

void frmUhr::Text5_Click() {
  Command5.setEnabled(true);
}

void frmUhr::Text5_KeyPress(std::int16_t& keyCode) {
  const bool allowed = (keyCode >= '0' && keyCode <= '9') || keyCode == ':' || keyCode == backspace;
  if (!allowed) keyCode = 0;
}

void frmUhr::Command2_Click() {
  stepEntry(1);
}
void frmUhr::Command3_Click() {
  stepEntry(5);
}
void frmUhr::Command4_Click() {
  stepEntry(15);
}

// An entry that does not read as a time stays as it is, for "Alarm übernehmen" to judge.
void frmUhr::stepEntry(int minutes) {
  if (const auto entry = looseTimeOfDay(Text5.text())) {
    Text5.setText(timeOfDayText(*entry + minutes * 60));
  }
  Command5.setEnabled(true);
}

void frmUhr::Command5_Click() {
  platform_.pump.processPendingEvents();
  const std::string entry = Text5.text();
  if (const auto time = strictTimeOfDay(entry)) {
    armAlarm(entry, *time);
  } else {
    rejectEntry();
  }
  Command5.setEnabled(false);
}

void frmUhr::armAlarm(const std::string& entry, int time) {
  Label1.setVisible(true);
  Label1.setCaption("Alarmausgabe um: " + entry);
  alarmArmed = 1;
  alarmTime = time;
  // The alarm's moment is its time's next occurrence from now: later today, or else tomorrow.
  const LocalDateTime now = platform_.clock.now();
  const int wait = ((time - secondOfDay(now)) % secondsPerDay + secondsPerDay) % secondsPerDay;
  alarmDueAt = localSeconds(now) + wait + 1;
  Label7.setVisible(true);
  mnuAlarm.setVisible(true);
  platform_.window.setOuterWidthTwips(compactWidthTwips);
}

// A typing slip must not silently drop an alarm that is already armed: that one stays.
void frmUhr::rejectEntry() {
  platform_.dialogs.messageBox("Die eingegebene Uhrzeit ist nicht gültig.", msgbox::okOnly,
                               applicationTitle);
  Text5.setText(timeText(platform_.clock.now()));
  if (alarmArmed == 1) return;
  alarmTime = 0;
  alarmArmed = 0;
}

void frmUhr::Command6_Click() {
  alarmArmed = 0;
  Option1[2].select();
  Option1[2].setFocus();
  Label1.setVisible(false);
  platform_.window.setOuterWidthTwips(compactWidthTwips);
}
