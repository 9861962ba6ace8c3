#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/app/local_time.h"
#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"
#include "support/spoken.h"
#include "support/visible_state.h"

namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;

std::string heard(const SimPlatform& sim) {
  return spoken::words(sim.clipIds());
}

// The minutes of the day at which the announcement signal began.
std::vector<int> signalMinutes(const SimPlatform& sim) {
  std::vector<int> minutes;
  for (const auto& clip : sim.played) {
    if (clip.id == clip::announcementSignal)
      minutes.push_back(static_cast<int>(clip.start / minute % 1440));
  }
  return minutes;
}

}  // namespace

TEST(Schedule, AFullHourIsTheSignalAndTheHourAloneAndAQuarterTheFullTime) {
  SimulatedProgram program;
  program.startAt(10, 59, 50);
  program.sim.runFor(40 * second);
  EXPECT_EQ(heard(program.sim), "[Gong] elf Uhr");
  const std::int64_t signal = program.sim.played[0].start;
  EXPECT_EQ(signal % hour, 0) << "the signal starts on the hour";
  // While the signal plays, the displays show the full hour, as the window comes back.
  std::vector<std::string> atTheHour;
  for (size_t i = 0; i < program.sim.trace.size(); ++i) {
    if (program.sim.traceTimes[i] == signal) atTheHour.push_back(program.sim.trace[i]);
  }
  EXPECT_EQ(atTheHour,
            (std::vector<std::string>{"Label7.caption=Countdown: 13:00:00", "Label4.caption=11",
                                      "window.show", "window.repaint", "Label6.caption=00",
                                      "Label5.caption=00", "Label4.refresh", "Label5.refresh"}));

  // After 3.6 s of signal and the words, the seconds that have passed since the quarter.
  SimulatedProgram quarter;
  quarter.startAt(10, 14, 58);
  quarter.sim.runFor(20 * second);
  EXPECT_EQ(heard(quarter.sim), "[Gong] " + spoken::time(10, 15, 5));

  SimulatedProgram midnight;
  midnight.startAt(23, 59, 55);
  midnight.sim.runFor(20 * second);
  EXPECT_EQ(heard(midnight.sim), "[Gong] null Uhr");
}

TEST(Schedule, StartUpAtAQuarterSpeaksOnceWithoutTheSignalAndElseNothing) {
  struct Case {
    int minute;
    std::string expected;
  };
  for (const Case& c : {Case{45, spoken::time(9, 45, 10)}, Case{0, ""}, Case{14, ""}}) {
    SimulatedProgram program;
    program.startAt(9, c.minute, 10);
    program.sim.runFor(45 * second);
    EXPECT_EQ(heard(program.sim), c.expected) << "start at minute " << c.minute;
  }
}

// A new choice counts from the next minute on: 15 changed to 5 at 10:12 speaks at 10:15, 10:20.
TEST(Schedule, ANewIntervalCountsFromTheNextMinuteAndTheMenuAgrees) {
  SimulatedProgram program;
  program.startAt(10, 11, 0);
  program.sim.at(program.sim.clock.ms() + 90 * second, [&] { program.form.mnuFünf.click(); });
  program.sim.runFor(10 * minute);
  EXPECT_EQ(signalMinutes(program.sim), (std::vector<int>{615, 620}));
  frmUhr& form = program.form;
  EXPECT_TRUE(form.Option1[1].value());
  for (const auto& [item, option] : {std::pair{&form.mnuEins, 0},
                                     {&form.mnuFünf, 1},
                                     {&form.mnuFünz, 2},
                                     {&form.mnuDreissig, 3}}) {
    form.Option1[static_cast<size_t>((option + 1) % 4)].select();
    item->click();
    EXPECT_TRUE(form.Option1[static_cast<size_t>(option)].value()) << item->caption();
    EXPECT_TRUE(item->checked());
    EXPECT_EQ(std::count_if(form.mnuPopUp.items().begin(), form.mnuPopUp.items().end(),
                            [](const MenuItem* i) { return i->checked(); }),
              1);
  }
  // Every minute, once a minute has begun under the new choice.
  const size_t before = signalMinutes(program.sim).size();
  form.mnuEins.click();
  program.sim.runFor(3 * minute + 30 * second);
  const std::vector<int> minutes = signalMinutes(program.sim);
  EXPECT_EQ(std::vector<int>(minutes.begin() + static_cast<long>(before), minutes.end()),
            (std::vector<int>{622, 623, 624}));
}

// In alarm mode nothing is announced; the hour still brings the window back from the tray, and
// the icon stays. Choosing an interval ends alarm mode, an armed alarm and its indicators, and
// the schedule speaks again.
TEST(Schedule, AlarmModeSilencesTheScheduleButTheHourShowsTheWindow) {
  SimulatedProgram program;
  program.startAt(10, 44, 0);
  program.form.Option2.select();
  program.form.Command8.press();
  program.sim.runFor(20 * minute);
  EXPECT_EQ(heard(program.sim), "");
  EXPECT_TRUE(program.sim.visible && program.sim.iconShownNow);
  for (const MenuItem* item : {&program.form.mnuEins, &program.form.mnuFünz}) {
    EXPECT_FALSE(item->enabled() || item->checked());
  }
  alarm_actions::arm(program.form, "11:30:00");
  const VisibleState armed = visibleState(program);
  program.form.mnuFünf.click();
  EXPECT_EQ(changes(armed, visibleState(program)),
            (std::vector<std::string>{
                "Label1: Alarmausgabe um: 11:30:00 hidden", "Label7: Countdown: 12:56:00 hidden",
                "Option1(1): 5 min chosen", "Option2: Alarm", "mnuAlarm: Alarm aktiv ! hidden",
                "mnuDreissig: Ansage jede 30 min", "mnuEins: Ansage jede 1 min",
                "mnuFünf: Ansage jede 5 min chosen", "mnuFünz: Ansage jede 15 min"}));
  EXPECT_FALSE(program.form.closeAsks());
  program.sim.runFor(2 * minute);
  EXPECT_EQ(signalMinutes(program.sim), std::vector<int>{665});
}

// A jump of the clock (a resume from suspend, the clock set by hand) speaks no wrong time: the
// hour is announced only when it changes in minute 00, the minute rule takes the minute shown.
TEST(Schedule, ClockJumpsAcrossTheHourSpeakNoWrongTime) {
  struct Case {
    int fromHour, fromMinute, toHour, toMinute;
    std::string spoken;
  };
  const std::vector<Case> cases = {
      {10, 58, 11, 5, ""},                            // suspended at 10:58, woken at 11:05
      {10, 58, 11, 15, "[Gong] elf Uhr fünfzehn"},    // woken at a quarter
      {11, 31, 12, 15, "[Gong] zwölf Uhr fünfzehn"},  // one announcement, not two nested
      {10, 40, 9, 40, ""},                            // set back by an hour
  };
  for (const Case& c : cases) {
    SimulatedProgram program;
    program.startAt(c.fromHour, c.fromMinute, 20);
    program.sim.runFor(second);
    program.sim.setTimeOfDay(c.toHour, c.toMinute, 10);
    program.sim.runFor(10 * second);
    const std::string all = heard(program.sim);
    EXPECT_EQ(all.substr(0, all.find(" und")), c.spoken) << c.toHour << ":" << c.toMinute;
    EXPECT_EQ(program.form.Label4.caption(), hourText({.hour = c.toHour}));
    EXPECT_EQ(program.form.Label5.caption(), minuteText({.minute = c.toMinute}));
  }
}
