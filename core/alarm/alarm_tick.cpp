#include <algorithm>

#include "core/alarm/time_of_day.h"
#include "core/app/frm_uhr.h"
#include "core/app/local_time.h"
#include "core/app/vocabulary.h"

// Counts down to the alarm time's next occurrence; "00:00:00" in the alarm second itself and
// while the alarm fires.
void frmUhr::countdownStep() {
  const int left = fireSequenceRunning ? 0 : alarmTime - secondOfDay(platform_.clock.now());
  Label7.setCaption("Countdown: " + timeOfDayText(left));
}

// Runs only in alarm mode with an alarm armed.
void frmUhr::alarmStep() {
  if (Text5.text() == timeText(platform_.clock.now())) return;
  // Due from the first tick after the alarm's second, also when the clock jumped past it; a
  // tick that runs nested inside the fire sequence must not start it again.
  if (!fireSequenceRunning && localSeconds(platform_.clock.now()) >= alarmDueAt) fireAlarm();
  const bool minimised = platform_.window.isMinimized() && Option2.value();
  setCaption(minimised ? "Alarm: " + timeOfDayText(alarmTime) : designCaption);
}

void frmUhr::fireAlarm() {
  fireSequenceRunning = true;
  Label7.setCaption("Countdown: 00:00:00");
  const std::string& armed = Label1.caption();
  Label6.setCaption(armed.substr(armed.size() - std::min<size_t>(2, armed.size())));
  if (platform_.window.isMinimized()) platform_.window.restore();
  if (!platform_.window.isVisible()) {
    platform_.window.show();
    platform_.tray.notifyIcon(TrayHost::Message::remove, trayData.bytes());
  }
  platform_.pump.processPendingEvents();
  PlayClip(clip::alarmSignal);
  Command1_Click();
  Label1.setVisible(false);
  Option1[2].select();
  alarmArmed = 0;
  fireSequenceRunning = false;
}

void frmUhr::setCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  platform_.window.setCaption(caption);
}
