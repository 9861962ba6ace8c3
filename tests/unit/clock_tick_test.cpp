#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"

using Trace = std::vector<std::string>;

namespace {

// Trace entries made after the first n, but for the countdown, which changes every second.
Trace since(const SimPlatform& sim, size_t n) {
  Trace seen;
  for (auto entry = sim.trace.begin() + static_cast<long>(n); entry != sim.trace.end(); ++entry) {
    if (!entry->starts_with("Label7.")) seen.push_back(*entry);
  }
  return seen;
}

}  // namespace

TEST(ClockTick, TicksWithinOneSecondChangeNothing) {
  SimulatedProgram program;
  program.startAt(10, 14, 50);
  const size_t started = program.sim.trace.size();
  program.sim.runFor(999);
  EXPECT_EQ(program.sim.ticks, 9);
  EXPECT_EQ(since(program.sim, started), Trace{});
  program.sim.runFor(1);
  EXPECT_EQ(since(program.sim, started), (Trace{"Label6.caption=51", "Text5.text=10:14:51"}));
}

TEST(ClockTick, WritesMinuteAndSecondThenTheEntryBox) {
  SimulatedProgram program;
  program.startAt(10, 16, 59, 950);
  const size_t started = program.sim.trace.size();
  program.sim.runFor(100);
  // The minute's change event resets the seconds before the tick's own seconds step.
  EXPECT_EQ(since(program.sim, started),
            (Trace{"Label5.caption=17", "Label6.caption=00", "Text5.text=10:17:00"}));
}

TEST(ClockTick, AnHourPassingBetweenTheHourAndMinuteStepsShowsOnTheNextTick) {
  SimulatedProgram program;
  program.startAt(12, 59, 59, 750);
  program.sim.clock.advancePerRead = 100;
  const size_t started = program.sim.trace.size();
  program.sim.runFor(50);
  EXPECT_EQ(since(program.sim, started),
            (Trace{"Label5.caption=00", "Label6.caption=00", "Text5.text=13:00:00"}));
  EXPECT_EQ(program.sim.clipIds(), (std::vector<std::int16_t>{}));
  program.sim.clock.advancePerRead = 0;
  program.sim.runFor(100);
  EXPECT_EQ(program.form.Label4.caption(), "13");
  program.sim.runFor(10'000);
  EXPECT_EQ(program.sim.clipIds(), (std::vector<std::int16_t>{500, 13, 200}));
}

TEST(ClockTick, MidnightRewritesTheDateLine) {
  SimulatedProgram program;
  program.startAt(23, 59, 58);
  program.sim.runFor(3000);
  EXPECT_EQ(program.form.Label4.caption(), "00");
  EXPECT_EQ(program.form.Label2.caption(), "Dienstag, 08.12.2026");

  // A date set by hand shows at the next tick too.
  program.sim.clock.set(2027, 3, 1, 0, 0, 2);
  program.sim.runFor(100);
  EXPECT_EQ(program.form.Label2.caption(), "Montag, 01.03.2027");
}

TEST(ClockTick, EntryBoxFollowsTheClockOnlyOutsideAlarmMode) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  program.form.Option2.select();
  program.form.Text5.editedByUser("07:3");
  program.sim.runFor(5000);
  EXPECT_EQ(program.form.Text5.text(), "07:3");

  program.form.Option1[2].select();
  program.sim.runFor(100);
  EXPECT_EQ(program.form.Text5.text(), "07:00:05");
}

TEST(ClockTick, StoppedTimerDeliversNothingAndResumesOnTheTenth) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  program.form.Timer1.setEnabled(false);
  program.sim.runFor(3000);
  EXPECT_EQ(program.form.Label6.caption(), "00");
  EXPECT_EQ(program.sim.ticks, 0);

  program.sim.clock.advance(50);
  program.form.Timer1.setEnabled(true);
  program.sim.runFor(49);
  EXPECT_EQ(program.sim.ticks, 0);
  program.sim.runFor(1);
  EXPECT_EQ(program.form.Label6.caption(), "03");
}

TEST(ClockTick, ARepaintBringsTheSecondsUpToDateBetweenTicks) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  program.form.Timer1.setEnabled(false);
  program.sim.clock.advance(4000);
  program.form.Form_Paint();
  EXPECT_EQ(program.form.Label6.caption(), "04");
}
