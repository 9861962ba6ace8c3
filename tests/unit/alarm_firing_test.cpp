#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"

using namespace alarm_actions;
using Clips = std::vector<std::int16_t>;

namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;

// Local milliseconds of a time of day on the program's first day, or the days after it.
std::int64_t at(const SimulatedProgram& program, int h, int m, int s, int day = 0) {
  const std::int64_t midnight = program.sim.clock.ms() - program.sim.clock.ms() % (24 * hour);
  return midnight + day * 24 * hour + ((h * 60LL + m) * 60 + s) * second;
}

std::vector<std::int64_t> alarmSignals(const SimPlatform& sim) {
  std::vector<std::int64_t> starts;
  for (const auto& clip : sim.played) {
    if (clip.id == 400) starts.push_back(clip.start);
  }
  return starts;
}

}  // namespace

TEST(AlarmFiring, CountsDownAndFiresInTheFirstTickAfterTheAlarmSecond) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  arm(form, "07:30:00");
  program.sim.runFor(100);
  EXPECT_EQ(form.Label7.caption(), "Countdown: 00:30:00");
  program.sim.runFor(second);
  EXPECT_EQ(form.Label7.caption(), "Countdown: 00:29:59");

  program.sim.runUntil(at(program, 7, 30, 0, 0) + 999);
  EXPECT_EQ(form.Label7.caption(), "Countdown: 00:00:00");
  EXPECT_EQ(alarmSignals(program.sim), std::vector<std::int64_t>{});

  program.sim.runFor(5 * minute);
  EXPECT_EQ(alarmSignals(program.sim), std::vector<std::int64_t>{at(program, 7, 30, 1)});
  // The signal, then the spoken time of the displays, which follow the clock again.
  const Clips spoken = program.sim.clipIds();
  EXPECT_EQ(Clips(spoken.begin(), spoken.begin() + 6), (Clips{400, 300, 7, 200, 30, 99}));
  EXPECT_EQ(spoken[6], 4) << "seconds after the signal and the words before them";
  EXPECT_EQ(program.sim.traced("Label7.caption=Countdown: 00:00:00").size(), 2u);
  // Ticks nested in the sequence keep the countdown at zero until it is hidden.
  const auto& trace = program.sim.trace;
  const auto hidden = std::find(trace.begin(), trace.end(), "Label7.hidden");
  const auto lastCountdown =
      std::find_if(std::make_reverse_iterator(hidden), trace.rend(),
                   [](const std::string& e) { return e.starts_with("Label7.caption"); });
  EXPECT_EQ(*lastCountdown, "Label7.caption=Countdown: 00:00:00");
  EXPECT_TRUE(form.Option1[2].value());
  EXPECT_TRUE(form.mnuFünz.checked());
  EXPECT_EQ(form.alarmArmed, 0);
  EXPECT_FALSE(form.Label1.visible() || form.Label7.visible() || form.mnuAlarm.visible());
}

TEST(AlarmFiring, BringsTheWindowBackFromMinimisedAndFromTheTray) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  arm(form, "07:00:10");
  program.sim.minimized = true;
  program.sim.runFor(2 * second);
  EXPECT_EQ(program.sim.caption, "Alarm: 07:00:10");
  program.sim.runFor(10 * second);
  EXPECT_FALSE(program.sim.minimized);
  EXPECT_EQ(program.sim.caption, "Die Lurvendel");

  arm(form, "07:01:00");
  program.sim.visible = false;
  program.sim.iconShownNow = true;
  const size_t before = program.sim.trace.size();
  program.sim.runFor(minute);
  std::vector<std::string> order;
  for (size_t i = before; i < program.sim.trace.size(); ++i) {
    const std::string& entry = program.sim.trace[i];
    if (entry.starts_with("window.show") || entry.starts_with("tray")) order.push_back(entry);
  }
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order[0], "window.show");
  EXPECT_EQ(order[1], "tray.remove Hessamo's Lurvendel");
  EXPECT_TRUE(program.sim.visible);
  EXPECT_LE(program.sim.timeOf("tray.remove Hessamo's Lurvendel"), alarmSignals(program.sim)[1]);
}

TEST(AlarmFiring, FiresAtTheNextOccurrenceOfItsTimeOnce) {
  struct Case {
    std::string entry;
    int armHour, armMinute, armSecond;
    std::int64_t firesAfterArming;
  };
  const std::vector<Case> cases = {
      {"06:30:00", 22, 0, 0, (8 * 60 + 30) * minute + second},  // tomorrow morning
      {"23:59:59", 23, 0, 0, hour},                             // at 00:00:00
      {"07:00:05", 7, 0, 5, second},                            // the current second
      {"07:00:04", 7, 0, 5, 24 * hour},                         // just passed: tomorrow
      {"00:00:00", 12, 0, 0, 12 * hour + second},
  };
  for (const Case& c : cases) {
    SimulatedProgram program;
    program.startAt(c.armHour, c.armMinute, c.armSecond);
    const std::int64_t armedAt = program.sim.clock.ms();
    arm(program.form, c.entry);
    program.sim.runFor(c.firesAfterArming + hour);
    EXPECT_EQ(alarmSignals(program.sim), std::vector<std::int64_t>{armedAt + c.firesAfterArming})
        << c.entry;
  }
}

TEST(AlarmFiring, TheCountdownCountsDownToTheNextDay) {
  SimulatedProgram program;
  program.startAt(22, 0, 0);
  arm(program.form, "06:30:00");
  program.sim.runFor(100);
  EXPECT_EQ(program.form.Label7.caption(), "Countdown: 08:30:00");
}

TEST(AlarmFiring, AClockJumpPastTheAlarmFiresOnTheFirstTickAfterIt) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  arm(program.form, "07:30:00");
  program.sim.runFor(second);
  program.sim.clock.setTimeOfDay(9, 0, 0);
  program.sim.runFor(100);
  EXPECT_EQ(alarmSignals(program.sim), std::vector<std::int64_t>{at(program, 9, 0, 0)});
}

TEST(AlarmFiring, TicksNestedInTheFireSequenceDoNotFireAgain) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  arm(program.form, "07:00:02");
  program.sim.runFor(minute);
  EXPECT_EQ(alarmSignals(program.sim).size(), 1u);
  EXPECT_EQ(program.sim.maxTickDepth, 2);
}

TEST(AlarmFiring, DisarmedAlarmsNeverFire) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  arm(program.form, "07:00:30");
  program.form.Option1[0].select();
  arm(program.form, "07:01:00");
  program.form.Option2.select();
  program.form.Command6.press();
  program.sim.runFor(2 * hour);
  EXPECT_EQ(alarmSignals(program.sim), std::vector<std::int64_t>{});
}

TEST(AlarmFiring, ExitWhileArmedAsksAndNoKeepsTheAlarm) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  arm(program.form, "07:00:30");
  program.sim.answers = {msgbox::Answer::no};
  program.form.requestClose();
  EXPECT_FALSE(program.sim.ended);
  program.sim.runFor(minute);
  EXPECT_EQ(alarmSignals(program.sim).size(), 1u);
  // Once fired, closing no longer asks.
  program.sim.deliver([&] { program.form.requestClose(); });
  EXPECT_TRUE(program.sim.ended);
  EXPECT_EQ(program.sim.traced("msgbox").size(), 1u);
}
