#include "core/app/frm_uhr.h"
#include "core/app/local_time.h"

// Runs every 100 ms, possibly nested inside an unfinished tick: every step reads the clock anew.
void frmUhr::Timer1_Timer() {
  countdownStep();
  Label4.setCaption(hourText(platform_.clock.now()));
  Label5.setCaption(minuteText(platform_.clock.now()));
  Label6.setCaption(secondText(platform_.clock.now()));
  refreshDateLine();
  if (!Option2.value() && alarmArmed == 0) Text5.setText(timeText(platform_.clock.now()));
  if (Option2.value() && alarmArmed == 1) alarmStep();
}

// The weekday and date follow the calendar, so a clock left running overnight shows today.
void frmUhr::refreshDateLine() {
  const LocalDateTime now = platform_.clock.now();
  const int date = (now.year * 100 + now.month) * 100 + now.day;
  if (date == dateShown_) return;
  dateShown_ = date;
  Label2.setCaption(dateLine(now));
}
