#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/app/vocabulary.h"
#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"

using Trace = std::vector<std::string>;
using namespace iconMouse;

// What each of the icon's mouse codes does: a left button released speaks, a right one opens
// the menu (the alarm item drawn as the default while one is armed); the others do nothing.
TEST(Tray, EachMouseCodeOfTheIconDoesItsOneThing) {
  struct Case {
    std::int32_t code;
    bool armed;
    std::size_t openings;
    Trace menu;
  };
  std::vector<Case> cases = {{leftButtonUp, false, 1, {}},
                             {rightButtonUp, false, 0, {"menu.popup"}},
                             {rightButtonUp, true, 0, {"menu.popup default=mnuAlarm"}}};
  for (const std::int32_t other : {512, 513, 515, 516, 518}) cases.push_back({other, false, 0, {}});
  for (const Case& c : cases) {
    SimulatedProgram program;
    program.startAt(9, 10, 20);
    if (c.armed) alarm_actions::arm(program.form, "10:00:00");
    program.form.Command8.press();
    program.form.trayIconEvent(c.code);
    const auto ids = program.sim.clipIds();
    EXPECT_EQ(static_cast<std::size_t>(std::count(ids.begin(), ids.end(), clip::opening)),
              c.openings)
        << c.code;
    EXPECT_EQ(program.sim.traced("menu"), c.menu) << c.code;
  }
}

// Clicks on the icon while its own speech runs, or while its menu is open, are dropped; the
// clock runs on meanwhile, and a chosen item acts.
TEST(Tray, ClicksDuringAnIconActionAreDroppedWhileTheClockRunsOn) {
  SimulatedProgram program;
  program.startAt(9, 10, 20);
  program.form.Command8.press();
  const std::int64_t t = program.sim.clock.ms();
  program.sim.at(t + 100, [&] { program.form.trayIconEvent(leftButtonUp); });
  program.sim.at(t + 300, [&] { program.form.trayIconEvent(leftButtonUp); });
  program.sim.at(t + 400, [&] { program.form.trayIconEvent(rightButtonUp); });
  program.sim.runFor(10'000);
  const auto ids = program.sim.clipIds();
  EXPECT_EQ(std::count(ids.begin(), ids.end(), clip::opening), 1);
  EXPECT_EQ(program.sim.traced("menu"), Trace{});

  program.sim.menuOpenMs = 3000;
  program.sim.menuChoices = {"mnuEins"};
  program.sim.at(program.sim.clock.ms() + 500, [&] { program.form.trayIconEvent(leftButtonUp); });
  program.form.trayIconEvent(rightButtonUp);
  EXPECT_TRUE(program.form.Option1[0].value() && program.form.mnuEins.checked());
  EXPECT_EQ(program.sim.clipIds().size(), ids.size());
  EXPECT_EQ(program.form.Label6.caption(), "33") << "the clock ran while the menu was open";
}

// "Verbergen" puts the icon in the tray, with the tip of the moment, and hides the window;
// "Uhr Anzeigen" brings it back and takes the icon away. Without a tray the window stays.
TEST(Tray, HidingAndShowingAgainWithTheRightTip) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  alarm_actions::arm(program.form, "07:30:00");
  program.form.Form_MouseMove(0, 0, 100, 100);
  program.form.Command8.press();
  EXPECT_FALSE(program.sim.visible);
  EXPECT_EQ(program.sim.traced("tray"), Trace{"tray.add Alarm aktiv! Alarm um: 07:30:00"});
  program.sim.menuChoices = {"mnuAnzeige"};
  program.form.trayIconEvent(rightButtonUp);
  EXPECT_TRUE(program.sim.visible);
  EXPECT_FALSE(program.sim.iconShownNow);

  program.form.Option1[2].select();
  program.form.trayIconEvent(512);
  EXPECT_EQ(program.form.trayData.tip(), titleTip);

  SimulatedProgram noTray;
  noTray.sim.trayAvailable = false;
  noTray.startAt(9, 10, 0);
  noTray.form.Command8.press();
  EXPECT_TRUE(noTray.sim.visible);
}

// The platform reads the record field by field: its size, the window, the icon's id, the flags,
// the callback message (the window's mouse move) and the icon, as the window filled them at start;
// and the tip up to its NUL: a long tip is cut to 63 characters, and a shorter one after it leaves
// nothing of the longer behind.
TEST(Tray, TheRecordCarriesEveryFieldAndATipCutToItsField) {
  SimulatedProgram program;
  program.startAt(9, 10, 0);
  program.form.Command8.press();
  const TrayData& added = program.sim.iconRecord;
  EXPECT_EQ((std::vector{added.cbSize, added.hWnd, added.uID, added.uFlags, added.uCallbackMessage,
                         added.hIcon}),
            (std::vector<std::uint32_t>{88, SimPlatform::windowHandle, 1, 7, 512,
                                        SimPlatform::iconHandleValue}));
  TrayData data;
  data.setTip(std::string(100, 'x'));
  EXPECT_EQ(TrayData::fromBytes(data.bytes()).tip(), std::string(63, 'x'));
  data.setTip(titleTip);
  EXPECT_EQ(TrayData::fromBytes(data.bytes()).tip(), titleTip);
}

TEST(Tray, InfoFromTheButtonAndFromTheMenuIsTheSameBox) {
  SimulatedProgram program;
  program.startAt(7, 0, 0);
  program.form.Command7.press();
  program.sim.menuChoices = {"mnuInfo"};
  program.form.trayIconEvent(rightButtonUp);
  const Trace boxes = program.sim.traced("msgbox");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], boxes[1]);
  const std::string rule(54, '_');
  EXPECT_EQ(boxes[0],
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
                rule);
}
