#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"

using namespace alarm_actions;

namespace {
const std::string rejection = "msgbox 0 [Borrimax] Die eingegebene Uhrzeit ist nicht gültig.";
}

TEST(AlarmEntry, AlarmModeWidensTheWindowAndLocksTheIntervalMenu) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  form.Option2.select();
  EXPECT_EQ(program.sim.outerWidthTwips, 6615);
  for (const MenuItem* item : {&form.mnuEins, &form.mnuFünf, &form.mnuFünz, &form.mnuDreissig}) {
    EXPECT_FALSE(item->checked() || item->enabled()) << item->name();
  }
  EXPECT_EQ(form.Text5.text(), "07:00:00");
  EXPECT_FALSE(form.Command5.enabled());

  form.Command2.press();
  EXPECT_EQ(form.Text5.text(), "07:01:00");
  EXPECT_TRUE(form.Command5.enabled());
}

TEST(AlarmEntry, OnlyDigitsColonAndBackspaceAreTyped) {
  SimulatedProgram program;
  const auto passes = [&](int code) {
    auto key = static_cast<std::int16_t>(code);
    program.form.Text5.onKeyPress(key);
    return key == code;
  };
  for (const char c : std::string("0123456789:")) EXPECT_TRUE(passes(c)) << c;
  EXPECT_TRUE(passes(8));
  for (const int code : {int{'a'}, int{'Z'}, int{'.'}, int{' '}, int{'-'}, 22, 13, 0xFC})
    EXPECT_FALSE(passes(code)) << code;
}

TEST(AlarmEntry, StepButtonsAddMinutesAcrossMidnightAndLeaveUnreadableEntries) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  form.Option2.select();
  const auto step = [&](const std::string& entry, CommandButton& button) {
    form.Text5.editedByUser(entry);
    button.press();
    return form.Text5.text();
  };
  EXPECT_EQ(step("23:59:30", form.Command2), "00:00:30");
  EXPECT_EQ(step("23:59:59", form.Command2), "00:00:59");
  EXPECT_EQ(step("23:50:00", form.Command4), "00:05:00");
  EXPECT_EQ(step("12:00:00", form.Command4), "12:15:00");
  EXPECT_EQ(step("7:5", form.Command3), "07:10:00");
  EXPECT_EQ(step("", form.Command2), "");
  EXPECT_EQ(step("ab", form.Command2), "ab");
}

TEST(AlarmEntry, AnAcceptedEntryArmsAndNarrowsTheWindow) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  arm(form, "07:30:00");
  EXPECT_EQ(form.alarmArmed, 1);
  EXPECT_EQ(form.alarmTime, 7 * 3600 + 30 * 60);
  EXPECT_EQ(form.Label1.caption(), "Alarmausgabe um: 07:30:00");
  EXPECT_TRUE(form.Label1.visible() && form.Label7.visible() && form.mnuAlarm.visible());
  EXPECT_EQ(program.sim.outerWidthTwips, 4480);
  EXPECT_FALSE(form.Command5.enabled());
  EXPECT_EQ(program.sim.traced("msgbox"), std::vector<std::string>{});
}

TEST(AlarmEntry, RejectedEntriesShowTheMessageAndResetTheEntry) {
  for (const std::string entry :
       {"7:05:00", "24:00:00", "12:60:00", "99:99:99", "::::::::", "", "ab:cd:ef"}) {
    SimulatedProgram program;
    frmUhr& form = program.form;
    program.startAt(7, 0, 0);
    program.sim.dialogOpenMs = 2500;
    arm(form, entry);
    EXPECT_EQ(program.sim.traced("msgbox"), std::vector<std::string>{rejection}) << entry;
    // The entry takes the time at which the box was closed.
    EXPECT_EQ(form.Text5.text(), "07:00:02") << entry;
    EXPECT_EQ(form.alarmArmed, 0);
    EXPECT_EQ(form.alarmTime, 0);
    EXPECT_FALSE(form.Command5.enabled());
    EXPECT_EQ(program.sim.outerWidthTwips, 6615);
  }
}

TEST(AlarmEntry, ARejectedEntryKeepsAnAlarmThatIsArmedAlready) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  arm(form, "07:30:00");
  arm(form, "7:45");
  EXPECT_EQ(program.sim.traced("msgbox"), std::vector<std::string>{rejection});
  EXPECT_EQ(form.alarmArmed, 1);
  EXPECT_EQ(form.alarmTime, 7 * 3600 + 30 * 60);
  EXPECT_TRUE(form.Label1.visible() && form.Label7.visible() && form.mnuAlarm.visible());

  // A second, valid entry replaces the first.
  arm(form, "07:45:00");
  EXPECT_EQ(form.alarmTime, 7 * 3600 + 45 * 60);
  EXPECT_EQ(form.Label1.caption(), "Alarmausgabe um: 07:45:00");
}

TEST(AlarmEntry, LeavingWithoutAnAlarmReturnsToFifteenMinutes) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  arm(form, "07:30:00");
  form.Option2.select();
  form.Command6.press();
  EXPECT_EQ(form.alarmArmed, 0);
  EXPECT_TRUE(form.Option1[2].value());
  EXPECT_TRUE(form.mnuFünz.checked() && form.mnuFünz.enabled());
  EXPECT_FALSE(form.Label1.visible() || form.Label7.visible() || form.mnuAlarm.visible());
  EXPECT_EQ(program.sim.outerWidthTwips, 4480);
  EXPECT_EQ(program.sim.traced("Option1(2).focus").size(), 1u);
  program.sim.runFor(1000);
  EXPECT_EQ(form.Text5.text(), "07:00:01");
}

TEST(AlarmEntry, AnIntervalChosenWhileEnteringKeepsTheWideWindow) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(7, 0, 0);
  form.Option2.select();
  typeEntry(form, "08:00:00");
  program.sim.runFor(3000);
  EXPECT_EQ(form.Text5.text(), "08:00:00");
  form.Option1[1].select();
  program.sim.runFor(100);
  EXPECT_EQ(program.sim.outerWidthTwips, 6615);
  EXPECT_EQ(form.Text5.text(), "07:00:03");
}
