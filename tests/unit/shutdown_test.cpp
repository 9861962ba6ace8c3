#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"

using Trace = std::vector<std::string>;

namespace {

const std::string question =
    "msgbox 36 [Die Lurvendel-Info] Alarm aktiv ! Programm trotzdem beenden ?";

Trace ending(const SimPlatform& sim) {
  Trace seen;
  for (const std::string& entry : sim.trace) {
    if (entry.starts_with("msgbox") || entry.starts_with("tray") ||
        entry.starts_with("window.hide") || entry.starts_with("program")) {
      seen.push_back(entry);
    }
  }
  return seen;
}

}  // namespace

TEST(Shutdown, WithoutAnAlarmClosesAtOnceAndRemovesTheIcon) {
  SimulatedProgram program;
  program.startAt(9, 0, 0);
  program.sim.deliver([&] { program.form.requestClose(); });
  EXPECT_EQ(ending(program.sim),
            (Trace{"tray.remove Hessamo's Lurvendel", "window.hide", "program.end"}));
}

TEST(Shutdown, ArmedAlarmAsksAndNoKeepsEverythingRunning) {
  SimulatedProgram program;
  program.startAt(9, 0, 0);
  program.form.alarmArmed = 1;
  program.sim.answers = {msgbox::Answer::no};
  program.sim.dialogOpenMs = 2000;

  program.form.requestClose();

  EXPECT_EQ(ending(program.sim), Trace{question});
  EXPECT_FALSE(program.sim.ended);
  // The clock ran on while the question was open, and runs on after it.
  EXPECT_EQ(program.form.Label6.caption(), "02");
  program.sim.runFor(1000);
  EXPECT_EQ(program.form.Label6.caption(), "03");
  EXPECT_EQ(program.form.alarmArmed, 1);
}

TEST(Shutdown, ArmedAlarmAndYesEndsTheProgram) {
  SimulatedProgram program;
  program.startAt(9, 0, 0);
  program.form.alarmArmed = 1;
  program.sim.answers = {msgbox::Answer::yes};
  program.sim.deliver([&] { program.form.requestClose(); });
  EXPECT_EQ(ending(program.sim),
            (Trace{question, "tray.remove Hessamo's Lurvendel", "window.hide", "program.end"}));
  program.sim.runFor(2000);
  EXPECT_EQ(program.form.Label6.caption(), "00");
}

TEST(Shutdown, ExitInTheMenuIsTheSameCloseRequest) {
  SimulatedProgram program;
  program.startAt(9, 0, 0);
  program.form.alarmArmed = 1;
  program.sim.answers = {msgbox::Answer::no, msgbox::Answer::yes};
  program.form.mnuExit.click();
  EXPECT_FALSE(program.sim.ended);
  program.sim.deliver([&] { program.form.mnuExit.click(); });
  EXPECT_EQ(ending(program.sim), (Trace{question, question, "tray.remove Hessamo's Lurvendel",
                                        "window.hide", "program.end"}));
}

// Once the program ends, nothing more happens: no clip starts, no window comes back, no tick runs.
TEST(Shutdown, EndingInTheMiddleOfSpeechEndsAtOnce) {
  struct Case {
    const char* during;
    int startMinute, startSecond;
    int closeMinute, closeSecond;
    std::function<void(SimulatedProgram&)> then;
  };
  const std::vector<Case> cases = {
      {"Sprich", 10, 20, 10, 21,
       [](SimulatedProgram& p) { p.sim.at(p.sim.clock.ms(), [&] { p.form.Command1.press(); }); }},
      {"the start-up announcement", 15, 10, 15, 11, {}},
      {"a scheduled announcement", 14, 58, 15, 1, {}},
      {"the alarm's fire sequence", 10, 0, 10, 12,
       [](SimulatedProgram& p) {
         alarm_actions::arm(p.form, "09:10:10");
         p.sim.answers = {msgbox::Answer::yes};
       }},
  };
  for (const Case& c : cases) {
    SimulatedProgram program;
    SimClock closeAt;
    closeAt.set(2026, 12, 7, 9, c.closeMinute, c.closeSecond);
    program.sim.at(closeAt.ms(), [&] { program.form.mnuExit.click(); });
    program.startAt(9, c.startMinute, c.startSecond);
    if (c.then) c.then(program);
    program.sim.runFor(20'000);

    ASSERT_TRUE(program.sim.ended) << c.during;
    EXPECT_EQ(program.sim.trace.back(), "program.end") << c.during;
    const std::int64_t end = program.sim.timeOf("program.end");
    for (const auto& clip : program.sim.played) {
      EXPECT_LT(clip.start, end) << c.during << ": clip " << clip.id << " after the end";
    }
  }
}
