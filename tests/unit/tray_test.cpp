#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"

using Trace = std::vector<std::string>;
using Clips = std::vector<std::int16_t>;

namespace {
constexpr int leftButtonUp = 514;
constexpr int rightButtonUp = 517;
}  // namespace

TEST(Tray, HidingAddsTheIconAndShowingAgainRemovesIt) {
  SimulatedProgram program;
  program.startAt(9, 10, 0);
  program.form.Command8.press();
  EXPECT_FALSE(program.sim.visible);
  EXPECT_TRUE(program.sim.iconShownNow);
  EXPECT_EQ(program.sim.traced("tray"), Trace{"tray.add Hessamo's Lurvendel"});

  program.sim.menuChoices = {"mnuAnzeige"};
  program.form.trayIconEvent(rightButtonUp);
  EXPECT_TRUE(program.sim.visible);
  EXPECT_FALSE(program.sim.iconShownNow);
}

TEST(Tray, WithoutANotificationAreaTheWindowStays) {
  SimulatedProgram program;
  program.sim.trayAvailable = false;
  program.startAt(9, 10, 0);
  program.form.Command8.press();
  EXPECT_TRUE(program.sim.visible);
}

TEST(Tray, AnHourChangeBringsTheWindowBackAndTheIconStays) {
  SimulatedProgram program;
  program.startAt(9, 59, 50);
  program.form.Command8.press();
  program.sim.runFor(20'000);
  EXPECT_TRUE(program.sim.visible);
  EXPECT_TRUE(program.sim.iconShownNow);

  // Hidden again, the add fails on the existing icon, which stays; "Uhr Anzeigen" removes it.
  program.form.Command8.press();
  EXPECT_FALSE(program.sim.visible);
  program.sim.visible = true;
  program.sim.menuChoices = {"mnuAnzeige"};
  program.form.trayIconEvent(rightButtonUp);
  EXPECT_FALSE(program.sim.iconShownNow);
}

TEST(Tray, ALeftClickSpeaksOnceAndClicksDuringTheSpeechAreDropped) {
  SimulatedProgram program;
  program.startAt(9, 10, 20);
  program.form.Command8.press();
  const std::int64_t t = program.sim.clock.ms();
  program.sim.at(t + 100, [&] { program.form.trayIconEvent(leftButtonUp); });
  program.sim.at(t + 300, [&] { program.form.trayIconEvent(leftButtonUp); });
  program.sim.at(t + 400, [&] { program.form.trayIconEvent(rightButtonUp); });
  program.sim.runFor(10'000);
  const Clips spoken = program.sim.clipIds();
  EXPECT_EQ(std::count(spoken.begin(), spoken.end(), 300), 1);
  EXPECT_EQ(program.sim.traced("menu"), Trace{});

  // Other mouse codes only refresh the tip.
  for (int code : {512, 513, 515, 516, 518}) program.form.trayIconEvent(code);
  EXPECT_EQ(program.sim.clipIds().size(), spoken.size());
  EXPECT_EQ(program.sim.traced("menu"), Trace{});
}

TEST(Tray, TheMenuShowsTheAlarmAsDefaultOnlyWhileArmedAndEventsRunWhileItIsOpen) {
  SimulatedProgram program;
  program.startAt(9, 10, 0);
  program.sim.menuOpenMs = 3000;
  program.sim.menuChoices = {"mnuEins", "mnuAlarm"};
  program.form.trayIconEvent(rightButtonUp);
  EXPECT_TRUE(program.form.Option1[0].value());
  EXPECT_EQ(program.form.Label6.caption(), "03") << "the clock ran while the menu was open";

  alarm_actions::arm(program.form, "10:00:00");
  program.form.trayIconEvent(rightButtonUp);
  EXPECT_EQ(program.sim.traced("menu"), (Trace{"menu.popup", "menu.popup default=mnuAlarm"}));
  EXPECT_EQ(program.form.alarmArmed, 1) << "the alarm item does nothing";
}

TEST(Tray, TheTipNamesTheArmedAlarmOnlyInAlarmMode) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  alarm_actions::arm(program.form, "07:30:00");
  program.form.Form_MouseMove(0, 0, 100, 100);
  EXPECT_EQ(program.form.trayData.tip(), "Alarm aktiv! Alarm um: 07:30:00");
  program.form.Command8.press();
  EXPECT_EQ(program.sim.traced("tray.add"), Trace{"tray.add Alarm aktiv! Alarm um: 07:30:00"});

  program.form.Option1[2].select();
  program.form.trayIconEvent(512);
  EXPECT_EQ(program.form.trayData.tip(), "Hessamo's Lurvendel");
}

TEST(Info, TheButtonAndTheMenuShowTheSameTextByteForByte) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  program.form.Command7.press();
  program.sim.menuChoices = {"mnuInfo"};
  program.form.trayIconEvent(rightButtonUp);

  const std::string rule(54, '_');
  const std::string expected =
      "msgbox 64 [Die Lurvendel   -    Info ] "
      "Die Sprach- und Alarmausgabe funktioniert auch bei \n"
      "verborgenem Uhrfenster.\n" +
      rule +
      "\n\n"
      "Wird das Uhrfenster verborgen, erscheint im SystemTray ein Icon.\n\n"
      "Click mit linker Maustaste auf TrayIcon     -> Zeitansage\n"
      "Click mit rechter Maustaste auf TrayIcon  -> Funktions-PopUp-Menü\n" +
      rule +
      "\n\n"
      "\"Die Lurvendel\";      Codename: \"Borrimax\"\n" +
      rule;
  EXPECT_EQ(program.sim.traced("msgbox"), (Trace{expected, expected}));
  const std::string text = frmUhr::infoText();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
}
