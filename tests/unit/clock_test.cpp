#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"
#include "support/spoken.h"

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

const std::string question =
    "msgbox 36 [Die Lurvendel-Info] Alarm aktiv ! Programm trotzdem beenden ?";

}  // namespace

TEST(Clock, StartsWithTheDesignedControlsTheTimeAndTheDateLine) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(8, 0, 0);
  EXPECT_FALSE(form.Label1.visible() || form.Label7.visible() || form.mnuAlarm.visible());
  EXPECT_FALSE(form.Command5.enabled());
  EXPECT_TRUE(form.Option1[2].value() && form.mnuFünz.checked());
  EXPECT_EQ(form.Label4.caption() + form.Label5.caption() + form.Label6.caption(), "080000");
  EXPECT_EQ(form.Text5.text(), "08:00:00");
  EXPECT_TRUE(program.sim.visible && program.sim.topmost);
  EXPECT_EQ(program.sim.outerWidthTwips, 4480);
  EXPECT_EQ(program.sim.traced("Timer1"), Trace{"Timer1.interval=100"});

  // Sunday is the first day of the week, Saturday is "Sonnabend".
  for (const auto& [day, line] : {std::pair{5, "Sonnabend, 05.12.2026"},
                                  {6, "Sonntag, 06.12.2026"},
                                  {7, "Montag, 07.12.2026"}}) {
    SimulatedProgram other;
    other.sim.clock.set(2026, 12, day, 12, 0, 0);
    other.sim.deliver([&] { other.form.Form_Load(); });
    EXPECT_EQ(other.form.Label2.caption(), line);
  }
}

TEST(Clock, ASecondInstanceEndsAtOnceWithoutAWindowOrATick) {
  SimulatedProgram program;
  program.sim.otherInstance = true;
  program.startAt(10, 15, 0);
  program.sim.runFor(5000);
  EXPECT_EQ(program.sim.trace, Trace{"program.end"});
  EXPECT_EQ(program.sim.ticks, 0);
}

// Ten ticks a second write the displays; only a real change shows, and the entry box follows
// the clock outside alarm mode. A repaint brings the seconds between ticks.
TEST(Clock, TicksShowEachNewSecondOnceAndTheEntryFollowsOutsideAlarmMode) {
  SimulatedProgram program;
  program.startAt(10, 16, 59, 50);
  const size_t started = program.sim.trace.size();
  program.sim.runFor(900);
  EXPECT_EQ(since(program.sim, started), Trace{});
  program.sim.runFor(100);
  EXPECT_EQ(since(program.sim, started),
            (Trace{"Label5.caption=17", "Label6.caption=00", "Text5.text=10:17:00"}));

  program.form.Option2.select();
  program.form.Text5.editedByUser("07:3");
  program.sim.runFor(3000);
  EXPECT_EQ(program.form.Text5.text(), "07:3");

  program.form.Timer1.setEnabled(false);
  program.sim.clock.advance(4000);
  program.form.Form_Paint();
  EXPECT_EQ(program.form.Label6.caption(), "07");
}

TEST(Clock, AnHourPassingBetweenTheHourAndMinuteStepsIsAnnouncedOnce) {
  SimulatedProgram program;
  program.startAt(12, 59, 59, 750);
  program.sim.clock.advancePerRead = 100;
  program.sim.runFor(50);
  EXPECT_EQ(program.form.Label4.caption() + program.form.Label5.caption(), "1200");
  program.sim.clock.advancePerRead = 0;
  program.sim.runFor(10'000);
  EXPECT_EQ(program.form.Label4.caption(), "13");
  EXPECT_EQ(spoken::words(program.sim.clipIds()), "[Gong] dreizehn Uhr");
}

TEST(Clock, TheDateLineFollowsTheCalendar) {
  SimulatedProgram program;
  program.startAt(23, 59, 58);
  program.sim.runFor(3000);
  EXPECT_EQ(program.form.Label2.caption(), "Dienstag, 08.12.2026");
}

// A label tells of a change only when its text really changes; one option of a group is
// selected at a time, and selecting it from code clicks it, also when it was selected.
TEST(Clock, LabelsAndOptionGroupsKeepTheirEventRules) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  int changes = 0;
  form.Label6.onChange = [&] { ++changes; };
  form.Label6.setCaption("07");
  form.Label6.setCaption("07");
  EXPECT_EQ(changes, 1);
  int clicks = 0;
  form.Option1[3].onClick = [&] { ++clicks; };
  form.Option1[3].select();
  form.Option1[3].select();
  EXPECT_EQ(clicks, 2);
  for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(form.Option1[i].value());
  EXPECT_TRUE(form.Option1[3].value() && !form.Option2.value());
  // A stopped timer delivers nothing, also a tick already on its way.
  int ticks = 0;
  form.Timer1.onTimer = [&] { ++ticks; };
  form.Timer1.setInterval(100);
  form.Timer1.setEnabled(false);
  form.Timer1.fire();
  EXPECT_EQ(ticks, 0);
}

TEST(Clock, ClosingAsksWhileAnAlarmIsArmedAndOnlyYesEnds) {
  SimulatedProgram program;
  program.startAt(9, 0, 0);
  alarm_actions::arm(program.form, "09:30:00");
  // No; then a box closed another way, or one that could not be shown; then yes.
  program.sim.answers = {msgbox::Answer::no, msgbox::Answer::ok, msgbox::Answer::yes};
  program.sim.dialogOpenMs = 2000;
  program.form.requestClose();
  EXPECT_EQ(program.sim.traced("msgbox"), Trace{question});
  EXPECT_FALSE(program.sim.ended);
  EXPECT_EQ(program.form.Label6.caption(), "02") << "the clock ran while the question was open";
  EXPECT_EQ(program.form.alarmArmed, 1);
  program.form.requestClose();
  EXPECT_FALSE(program.sim.ended);

  program.sim.deliver([&] { program.form.mnuExit.click(); });
  EXPECT_EQ(program.sim.traced("msgbox").size(), 3u);
  EXPECT_EQ(since(program.sim, program.sim.trace.size() - 3),
            (Trace{std::string("tray.remove ") + titleTip, "window.hide", "program.end"}));
  program.sim.runFor(2000);
  EXPECT_EQ(program.form.Label6.caption(), "06") << "no tick after the end";
}

// Once the program ends, nothing more happens: no clip starts, no window comes back, no tick
// runs; without an alarm, closing asks nothing.
TEST(Clock, EndingInTheMiddleOfSpeechEndsAtOnce) {
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
    program.sim.at(closeAt.ms(), [&] { program.form.requestClose(); });
    program.startAt(9, c.startMinute, c.startSecond);
    if (c.then) c.then(program);
    program.sim.runFor(20'000);

    ASSERT_TRUE(program.sim.ended) << c.during;
    EXPECT_EQ(program.sim.trace.back(), "program.end") << c.during;
    EXPECT_EQ(program.sim.traced("msgbox").size(), program.form.alarmArmed ? 1u : 0u) << c.during;
    const std::int64_t end = program.sim.timeOf("program.end");
    for (const auto& clip : program.sim.played) {
      EXPECT_LT(clip.start, end) << c.during << ": clip " << clip.id << " after the end";
    }
  }
}
