#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"

using Trace = std::vector<std::string>;

TEST(Startup, FillsEverythingInOrderThenShowsTheWindowThenStartsTheTick) {
  SimulatedProgram program;
  program.startAt(10, 14, 50);

  // The hour's change event shows the window first; its repaint brings the seconds.
  EXPECT_EQ(program.sim.trace,
            (Trace{"window.width=4480", "Label2.caption=Montag, 07.12.2026", "window.topmost",
                   "Text5.text=10:14:50", "Label4.caption=10", "window.show", "window.repaint",
                   "Label6.caption=50", "Label5.caption=14", "window.show", "window.repaint",
                   "Timer1.interval=100"}));
  EXPECT_TRUE(program.sim.visible);
  EXPECT_EQ(program.form.clockStarted, 1);
  EXPECT_EQ(program.form.sayHourOnly, 0);
  EXPECT_EQ(program.form.alarmArmed, 0);
  EXPECT_EQ(program.sim.clipIds(), (std::vector<std::int16_t>{}));
}

TEST(Startup, EachDisplayReadsTheClockAnew) {
  SimulatedProgram program;
  program.form.Label4.onChange = [&] { program.sim.clock.advance(1000); };
  program.startAt(10, 59, 59, 500);
  // The hour was read at 10:59:59; the minute and second after the clock moved on.
  EXPECT_EQ(program.form.Label4.caption(), "10");
  EXPECT_EQ(program.form.Label5.caption(), "00");
  EXPECT_EQ(program.form.Label6.caption(), "00");
}

TEST(Startup, ControlsStartInTheirDesignedStates) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(8, 0, 0);

  EXPECT_FALSE(form.Label1.visible());
  EXPECT_FALSE(form.Label7.visible());
  EXPECT_FALSE(form.Command5.enabled());
  EXPECT_TRUE(form.Option1[2].value());
  EXPECT_FALSE(form.Option1[0].value() || form.Option1[1].value() || form.Option1[3].value() ||
               form.Option2.value());
  EXPECT_TRUE(form.mnuFünz.checked());
  EXPECT_FALSE(form.mnuEins.checked() || form.mnuFünf.checked() || form.mnuDreissig.checked());
  EXPECT_FALSE(form.mnuAlarm.visible());
  EXPECT_FALSE(form.mnuPopUp.visible());
  // Seconds "00" equal the designed caption, so that display raised no change.
  EXPECT_EQ(program.sim.traced("Label6"), Trace{});
  EXPECT_EQ(form.Text5.text(), "08:00:00");

  Trace menu;
  for (const MenuItem* item : form.mnuPopUp.items()) {
    menu.push_back(item->isSeparator() ? "-" : item->caption());
  }
  EXPECT_EQ(menu, (Trace{"Ansage jede 1 min", "Ansage jede 5 min", "Ansage jede 15 min",
                         "Ansage jede 30 min", "Alarm aktiv !", "-", "Uhr Anzeigen", "-", "Info",
                         "-", "Exit"}));
}

TEST(Startup, FillsTheNotificationRecordWithoutAddingTheIcon) {
  SimulatedProgram program;
  program.startAt(8, 0, 0);
  const TrayData& data = program.form.trayData;
  EXPECT_EQ(data.cbSize, 88u);
  EXPECT_EQ(data.hWnd, program.sim.windowHandle);
  EXPECT_EQ(data.uID, 1u);
  EXPECT_EQ(data.uFlags, 7u);
  EXPECT_EQ(data.uCallbackMessage, 512u);
  EXPECT_EQ(data.hIcon, program.sim.iconHandleValue);
  EXPECT_EQ(data.tip(), "Hessamo's Lurvendel");
  EXPECT_EQ(program.sim.traced("tray"), Trace{});
}

TEST(Startup, ASecondInstanceEndsAtOnceWithoutAWindowOrATick) {
  SimulatedProgram program;
  program.sim.otherInstance = true;
  program.startAt(10, 15, 0);
  program.sim.runFor(5000);
  EXPECT_EQ(program.sim.trace, Trace{"program.end"});
  EXPECT_EQ(program.sim.ticks, 0);
}
