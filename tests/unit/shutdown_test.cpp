#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/simulated_program.h"

using Trace = std::vector<std::string>;

namespace {

const std::string question =
    "msgbox 36 [Die Lurvendel-Info] Alarm aktiv ! Programm trotzdem beenden ?";

Trace ending(const SimPlatform& sim) {
  Trace seen;
  for (const std::string& entry : sim.trace) {
    if (entry.starts_with("msgbox") || entry.starts_with("tray") ||
        entry.starts_with("window.destroy") || entry.starts_with("program")) {
      seen.push_back(entry);
    }
  }
  return seen;
}

}  // namespace

TEST(Shutdown, WithoutAnAlarmClosesAtOnceAndRemovesTheIcon) {
  SimulatedProgram program;
  program.startAt(9, 0, 0);
  EXPECT_TRUE(program.form.requestClose());
  EXPECT_EQ(ending(program.sim),
            (Trace{"tray.remove Hessamo's Lurvendel", "window.destroy", "program.end"}));
}

TEST(Shutdown, ArmedAlarmAsksAndNoKeepsEverythingRunning) {
  SimulatedProgram program;
  program.startAt(9, 0, 0);
  program.form.alarmArmed = 1;
  program.sim.answers = {msgbox::Answer::no};
  program.sim.dialogOpenMs = 2000;

  EXPECT_FALSE(program.form.requestClose());

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
  EXPECT_TRUE(program.form.requestClose());
  EXPECT_EQ(ending(program.sim),
            (Trace{question, "tray.remove Hessamo's Lurvendel", "window.destroy", "program.end"}));
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
  program.form.mnuExit.click();
  EXPECT_EQ(ending(program.sim), (Trace{question, question, "tray.remove Hessamo's Lurvendel",
                                        "window.destroy", "program.end"}));
}
