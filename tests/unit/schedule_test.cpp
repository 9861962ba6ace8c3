#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "app/local_time.h"
#include "platform/sim/simulated_program.h"

using Clips = std::vector<std::int16_t>;

namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;

struct Announcement {
  int hour;
  int minute;
  bool hourOnly;
};

// Scheduled announcements in a run: each starts with the signal; the clips after it tell the
// hour and whether the minutes follow.
std::vector<Announcement> scheduled(const SimPlatform& sim) {
  std::vector<Announcement> found;
  for (size_t i = 0; i + 2 < sim.played.size(); ++i) {
    if (sim.played[i].id != 500) continue;
    const std::int64_t at = sim.played[i].start;
    const int h = static_cast<int>(at / hour % 24);
    const int m = static_cast<int>(at / minute % 60);
    const bool hourWordLast = i + 3 >= sim.played.size() || sim.played[i + 3].id == 500 ||
                              sim.played[i + 3].id == 300 || sim.played[i + 2].id == 200;
    found.push_back({h, m, sim.played[i + 2].id == 200 && hourWordLast && m == 0});
  }
  return found;
}

}  // namespace

TEST(Schedule, AFullHourIsAnnouncedOnceWithTheSignalThenTheHourAlone) {
  SimulatedProgram program;
  program.startAt(10, 59, 50);
  program.sim.runFor(40 * second);

  EXPECT_EQ(program.sim.clipIds(), (Clips{500, 11, 200}));
  const std::int64_t boundary = program.sim.played[0].start / hour * hour;
  EXPECT_EQ(program.sim.played[0].start, boundary) << "the signal starts on the hour";
  EXPECT_EQ(program.form.Label5.caption(), "00");
  EXPECT_EQ(program.form.sayHourOnly, 0);
}

TEST(Schedule, TheSecondsSpokenAfterTheSignalAreTheSecondsThatPassed) {
  SimulatedProgram program;
  program.startAt(10, 14, 58);
  program.sim.runFor(20 * second);

  const Clips spoken = program.sim.clipIds();
  ASSERT_EQ(spoken.size(), 7u);
  EXPECT_EQ(Clips(spoken.begin(), spoken.begin() + 5), (Clips{500, 10, 200, 15, 99}));
  // 3.6 s of signal and about 1.7 s of words have passed since 10:15:00.
  EXPECT_EQ(spoken[5], 5);
  EXPECT_EQ(spoken[6], 600);
}

TEST(Schedule, EachIntervalAnnouncesAtItsMinutesOnlyOverADay) {
  const std::map<int, int> fullPerHour = {{0, 59}, {1, 11}, {2, 3}, {3, 1}};
  for (const auto& [option, perHour] : fullPerHour) {
    SimulatedProgram program;
    program.startAt(0, 0, 30);
    program.form.Option1[static_cast<size_t>(option)].select();
    const int interval = std::array{1, 5, 15, 30}[static_cast<size_t>(option)];
    program.sim.runFor(24 * hour);

    int hourOnly = 0;
    int full = 0;
    for (const Announcement& a : scheduled(program.sim)) {
      if (a.minute == 0) {
        ++hourOnly;
      } else {
        ++full;
        EXPECT_EQ(a.minute % interval, 0) << a.hour << ":" << a.minute;
      }
    }
    EXPECT_EQ(hourOnly, 24) << "interval " << interval;
    EXPECT_EQ(full, 24 * perHour) << "interval " << interval;
  }
}

TEST(Schedule, ANewIntervalCountsFromTheNextMinuteChange) {
  SimulatedProgram program;
  program.startAt(10, 11, 0);
  program.sim.at(program.sim.clock.ms() + 90 * second, [&] { program.form.mnuFünf.click(); });
  program.sim.runFor(10 * minute);
  std::vector<int> minutes;
  for (const Announcement& a : scheduled(program.sim)) minutes.push_back(a.minute);
  EXPECT_EQ(minutes, (std::vector<int>{15, 20}));
  EXPECT_TRUE(program.form.mnuFünf.checked());
  EXPECT_FALSE(program.form.mnuFünz.checked());
}

TEST(Schedule, AlarmModeAndAnArmedAlarmSilenceTheScheduleButTheHourStillShowsTheWindow) {
  SimulatedProgram program;
  program.startAt(10, 44, 0);
  program.form.Option2.select();
  program.sim.visible = false;
  program.sim.runFor(20 * minute);
  EXPECT_EQ(program.sim.clipIds(), Clips{});
  EXPECT_TRUE(program.sim.visible);

  program.form.Option1[2].select();
  program.form.alarmArmed = 1;
  program.sim.runFor(30 * minute);
  EXPECT_EQ(program.sim.clipIds(), Clips{});
}

// A jump of the clock (resume from suspend, the clock set by hand) speaks no wrong time: the hour
// is announced only when it changes in minute 00, and the minute rule takes the minute shown.
TEST(Schedule, ClockJumpsAcrossTheHourSpeakNoWrongTime) {
  struct Case {
    int fromHour, fromMinute;
    int toHour, toMinute;
    Clips spoken;
  };
  const std::vector<Case> cases = {
      {10, 58, 11, 5, {}},                   // suspended at 10:58, woken at 11:05
      {10, 58, 11, 15, {500, 11, 200, 15}},  // woken at a quarter
      {11, 31, 12, 15, {500, 12, 200, 15}},  // one announcement, not two nested
      {10, 40, 9, 40, {}},                   // set back by an hour
  };
  for (const Case& c : cases) {
    SimulatedProgram program;
    program.startAt(c.fromHour, c.fromMinute, 20);
    program.sim.runFor(second);
    program.sim.setTimeOfDay(c.toHour, c.toMinute, 10);
    program.sim.runFor(10 * second);
    const Clips spoken = program.sim.clipIds();
    const Clips words(spoken.begin(), spoken.begin() + std::min<size_t>(spoken.size(), 4));
    EXPECT_EQ(words, c.spoken) << c.toHour << ":" << c.toMinute;
    EXPECT_EQ(program.form.Label4.caption(), hourText({.hour = c.toHour}));
    EXPECT_EQ(program.form.Label5.caption(), minuteText({.minute = c.toMinute}));
  }
}

TEST(Schedule, MidnightAnnouncesHourZero) {
  SimulatedProgram program;
  program.startAt(23, 59, 55);
  program.sim.runFor(20 * second);
  EXPECT_EQ(program.sim.clipIds(), (Clips{500, 97, 200}));
}

TEST(Schedule, StartUpAtAQuarterAnnouncesOnceWithoutTheSignalAndAtOtherMinutesNothing) {
  SimulatedProgram atQuarter;
  atQuarter.startAt(9, 45, 10);
  // The repaint of the window, shown by the hour's change event, has already brought the seconds.
  EXPECT_EQ(atQuarter.sim.clipIds(), (Clips{9, 200, 105, 40, 99, 10, 600}));
  atQuarter.sim.runFor(minute);
  EXPECT_EQ(atQuarter.sim.clipIds().size(), 7u);

  for (const int startMinute : {0, 14, 16}) {
    SimulatedProgram program;
    program.startAt(9, startMinute, 0);
    program.sim.runFor(50 * second);
    EXPECT_EQ(program.sim.clipIds(), Clips{}) << "start at minute " << startMinute;
  }
}

TEST(Schedule, OptionButtonsAndMenuMarksAlwaysAgree) {
  SimulatedProgram program;
  program.startAt(9, 0, 0);
  frmUhr& form = program.form;
  const auto marks = [&] {
    std::string seen;
    for (const MenuItem* item : {&form.mnuEins, &form.mnuFünf, &form.mnuFünz, &form.mnuDreissig}) {
      seen += item->checked() ? 'x' : '.';
    }
    return seen;
  };
  form.mnuEins.click();
  EXPECT_TRUE(form.Option1[0].value());
  EXPECT_EQ(marks(), "x...");
  form.Option1[3].select();
  EXPECT_EQ(marks(), "...x");
  form.mnuFünz.click();
  EXPECT_TRUE(form.Option1[2].value());
  EXPECT_EQ(marks(), "..x.");

  // Choosing an interval discards an armed alarm and its indicators.
  form.alarmArmed = 1;
  form.Label7.setVisible(true);
  form.Label1.setVisible(true);
  form.mnuAlarm.setVisible(true);
  form.Option1[1].select();
  EXPECT_EQ(form.alarmArmed, 0);
  EXPECT_FALSE(form.Label7.visible() || form.Label1.visible() || form.mnuAlarm.visible());
}
