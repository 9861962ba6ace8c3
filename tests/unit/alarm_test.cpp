#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"
#include "support/spoken.h"
#include "support/visible_state.h"

using namespace alarm_actions;
using Trace = std::vector<std::string>;
using Changes = std::vector<std::string>;

namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;
const std::string rejection = "msgbox 0 [Borrimax] Die eingegebene Uhrzeit ist nicht gültig.";

std::vector<std::int64_t> alarmSignals(const SimPlatform& sim) {
  std::vector<std::int64_t> starts;
  for (const auto& clip : sim.played) {
    if (clip.id == clip::alarmSignal) starts.push_back(clip.start);
  }
  return starts;
}

}  // namespace

// What the entry takes: typed digits and colons only; the step buttons read short forms and
// wrap at midnight; "Alarm übernehmen" arms exactly HH:MM:SS in range, else says why.
TEST(Alarm, TheEntryTakesTimesOfDayAndRejectsTheRest) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  const auto typed = [&](int code) {
    auto key = static_cast<std::int16_t>(code);
    form.Text5.onKeyPress(key);
    return key == code;
  };
  for (const char c : std::string("0123456789:\b")) EXPECT_TRUE(typed(c)) << int{c};
  for (const int code : {int{'a'}, int{'Z'}, int{'.'}, int{' '}, 1, 22, 13, 0xFC}) {
    EXPECT_FALSE(typed(code)) << code;
  }

  form.Option2.select();
  EXPECT_EQ(program.sim.outerWidthTwips, 6615);
  EXPECT_FALSE(form.Command5.enabled()) << "typing alone does not enable it";
  struct Step {
    const char* entry;
    CommandButton* button;
    const char* after;
  };
  for (const Step& s : {Step{"23:59:30", &form.Command2, "00:00:30"},
                        {"23:50:00", &form.Command4, "00:05:00"},
                        {"7:5", &form.Command3, "07:10:00"},
                        {"07:30", &form.Command2, "07:31:00"},
                        {"06:59:00", &form.Command2, "07:00:00"},
                        {"", &form.Command2, ""},
                        {"ab", &form.Command2, "ab"},
                        {"07:1a", &form.Command2, "07:1a"},
                        {"7", &form.Command2, "7"},
                        {"7:", &form.Command2, "7:"},
                        {":5", &form.Command2, ":5"},
                        {"123:45", &form.Command2, "123:45"},
                        {"1:2:3:4", &form.Command2, "1:2:3:4"}}) {
    form.Text5.editedByUser(s.entry);
    s.button->press();
    EXPECT_EQ(form.Text5.text(), s.after) << s.entry;
    EXPECT_TRUE(form.Command5.enabled());
  }

  program.sim.dialogOpenMs = 2500;
  for (const char* bad : {"7:05:00", "24:00:00", "12:60:00", "99:99:99", "::::::::", "", "07:05:0a",
                          "07300:00", "07:30000", "07:30:001"}) {
    arm(form, bad);
    EXPECT_EQ(program.sim.traced("msgbox").back(), rejection) << bad;
    EXPECT_EQ(form.alarmArmed, 0) << bad;
    EXPECT_FALSE(form.Command5.enabled());
  }
  EXPECT_EQ(form.Text5.text(), "07:00:25") << "the entry takes the time the box was closed";
  arm(form, "07:30:00");
  EXPECT_EQ(form.alarmTime, 7 * 3600 + 30 * 60);
  EXPECT_EQ(form.Label1.caption(), "Alarmausgabe um: 07:30:00");
  EXPECT_TRUE(form.Label1.visible() && form.Label7.visible() && form.mnuAlarm.visible());
  EXPECT_EQ(program.sim.outerWidthTwips, 4480);
}

// A typing slip while an alarm is armed must not drop it; a good entry replaces it, and
// "ohne Alarm zurück" leaves alarm mode with none.
TEST(Alarm, ARejectedEntryKeepsTheArmedAlarmAndCancelEndsIt) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  arm(form, "07:30:00");
  arm(form, "7:45");
  EXPECT_EQ(form.alarmArmed, 1);
  EXPECT_EQ(form.alarmTime, 7 * 3600 + 30 * 60);
  arm(form, "07:45:00");
  EXPECT_EQ(form.Label1.caption(), "Alarmausgabe um: 07:45:00");

  form.Option2.select();
  const VisibleState armedAndWide = visibleState(program);
  form.Command6.press();
  EXPECT_EQ(
      changes(armedAndWide, visibleState(program)),
      (Changes{"Label1: Alarmausgabe um: 07:45:00 hidden", "Label7: Countdown 00:00:00 hidden",
               "Option1(2): 15 min chosen", "Option2: Alarm", "mnuAlarm: Alarm aktiv ! hidden",
               "mnuDreissig: Ansage jede 30 min", "mnuEins: Ansage jede 1 min",
               "mnuFünf: Ansage jede 5 min", "mnuFünz: Ansage jede 15 min chosen",
               "window: Die Lurvendel, 4480 twips"}));
  EXPECT_EQ(form.alarmArmed, 0);
  EXPECT_EQ(program.sim.traced("Option1(2).focus").size(), 1u);
}

// The countdown runs to the alarm second, which shows 00:00:00 and does not fire; the first
// tick after it fires: the signal, the time from the displays, back to "15 min". While the
// sequence runs, nested ticks keep the countdown at zero and fire nothing more.
TEST(Alarm, FiresOnceInTheFirstTickAfterItsSecond) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  arm(form, "07:30:00");
  program.sim.runFor(1100);
  EXPECT_EQ(form.Label7.caption(), "Countdown: 00:29:59");
  const std::int64_t alarmSecond = program.sim.clock.ms() - 1100 + 30 * minute;
  program.sim.runUntil(alarmSecond + 999);
  EXPECT_EQ(form.Label7.caption(), "Countdown: 00:00:00");
  EXPECT_EQ(alarmSignals(program.sim), std::vector<std::int64_t>{});

  program.sim.runFor(5 * minute);
  EXPECT_EQ(alarmSignals(program.sim), std::vector<std::int64_t>{alarmSecond + second});
  // While the signal plays, the seconds display shows the alarm's own seconds.
  Trace secondsAtFiring;
  for (size_t i = 0; i < program.sim.trace.size(); ++i) {
    if (program.sim.traceTimes[i] == alarmSecond + second &&
        program.sim.trace[i].starts_with("Label6.caption")) {
      secondsAtFiring.push_back(program.sim.trace[i]);
    }
  }
  EXPECT_EQ(secondsAtFiring, (Trace{"Label6.caption=01", "Label6.caption=00"}));
  const std::string heard = spoken::words(program.sim.clipIds());
  EXPECT_TRUE(heard.starts_with("[Alarm] Es ist sieben Uhr dreißig und")) << heard;
  EXPECT_EQ(program.sim.maxTickDepth, 2);
  const Trace& trace = program.sim.trace;
  const auto hidden = std::find(trace.begin(), trace.end(), "Label7.hidden");
  const auto lastCountdown =
      std::find_if(std::make_reverse_iterator(hidden), trace.rend(),
                   [](const std::string& e) { return e.starts_with("Label7.caption"); });
  EXPECT_EQ(*lastCountdown, "Label7.caption=Countdown: 00:00:00");
  EXPECT_TRUE(form.Option1[2].value());
  EXPECT_EQ(form.alarmArmed, 0);
  EXPECT_FALSE(form.Label1.visible() || form.Label7.visible() || form.mnuAlarm.visible());
}

// An alarm fires at its time's next occurrence: later today, else tomorrow; also after a jump
// of the clock past it.
TEST(Alarm, FiresAtTheNextOccurrenceOfItsTime) {
  struct Case {
    const char* entry;
    int armHour, armMinute, armSecond;
    std::int64_t after;
  };
  for (const Case& c : {Case{"06:30:00", 22, 0, 0, (8 * 60 + 30) * minute + second},
                        {"23:59:59", 23, 0, 0, hour},
                        {"07:00:05", 7, 0, 5, second},
                        {"07:00:04", 7, 0, 5, 24 * hour},
                        {"00:00:00", 12, 0, 0, 12 * hour + second}}) {
    SimulatedProgram program;
    program.startAt(c.armHour, c.armMinute, c.armSecond);
    const std::int64_t armedAt = program.sim.clock.ms();
    arm(program.form, c.entry);
    program.sim.runFor(c.after + hour);
    EXPECT_EQ(alarmSignals(program.sim), std::vector<std::int64_t>{armedAt + c.after}) << c.entry;
  }
  SimulatedProgram jumped;
  jumped.startAt(7, 0, 0);
  arm(jumped.form, "07:30:00");
  jumped.sim.runFor(second);
  jumped.sim.setTimeOfDay(9, 0, 0);
  const std::int64_t woken = jumped.sim.clock.ms();
  jumped.sim.runFor(100);
  ASSERT_EQ(alarmSignals(jumped.sim).size(), 1u);
  EXPECT_LE(alarmSignals(jumped.sim)[0] - woken, 100);
}

// Minimised, the caption names the alarm; firing restores the window. Hidden in the tray, the
// window comes back and the icon goes before the signal.
TEST(Alarm, FiringBringsTheWindowBackFromMinimisedAndFromTheTray) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  arm(program.form, "07:00:10");
  program.sim.runFor(2 * second);
  EXPECT_EQ(program.sim.caption, "Die Lurvendel");
  program.sim.minimized = true;
  program.sim.runFor(2 * second);
  EXPECT_EQ(program.sim.caption, "Alarm: 07:00:10");
  program.sim.runFor(10 * second);
  EXPECT_FALSE(program.sim.minimized);
  EXPECT_EQ(program.sim.caption, "Die Lurvendel");

  arm(program.form, "07:01:00");
  program.form.Command8.press();
  program.sim.runFor(minute);
  EXPECT_TRUE(program.sim.visible);
  EXPECT_FALSE(program.sim.iconShownNow);
  const std::int64_t removed = program.sim.timeOf(std::string("tray.remove ") + titleTip);
  EXPECT_GE(removed, 0);
  EXPECT_LE(removed, alarmSignals(program.sim).back());
}
