#include "platform/common/window_mirror.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/app/vocabulary.h"
#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"
#include "support/test_gate.h"

namespace {

// Native controls that note what reaches them, one line each.
struct NotedControls : NativeControls {
  void setControlShown(const Control& control, bool shown) override {
    notes.push_back((shown ? "show " : "hide ") + control.name());
  }
  void setControlEnabled(const Control& control, bool enabled) override {
    notes.push_back((enabled ? "enable " : "disable ") + control.name());
  }
  void updateControl(const Control& control, Property property) override {
    notes.push_back("update " + control.name() + " " + std::to_string(static_cast<int>(property)));
  }
  std::vector<std::string> notes;
};

struct Mirrored {
  Mirrored() {
    program.startAt(9, 10, 0);
    mirror.attach(program.form, natives);
    attached = std::exchange(natives.notes, {});
  }
  long count(const std::string& note) const {
    return std::count(natives.notes.begin(), natives.notes.end(), note);
  }
  bool noted(const std::string& note) const { return count(note) > 0; }

  SimulatedProgram program;
  frmUhr& form = program.form;
  TestGate gate;
  NotedControls natives;
  WindowMirror mirror{gate, [] { return 144.0; }};
  std::vector<std::string> attached;  // what attaching noted
};

const std::string caption = std::to_string(static_cast<int>(Property::caption));
const std::string text = std::to_string(static_cast<int>(Property::text));

}  // namespace

// Attached, each control shows as the model has it. At the compact width the alarm frame lies
// beyond the client area (the width less the designed border), and what it holds with it; a text
// written there meanwhile reaches its control once, as it comes into view. A frame hidden hides
// what it holds, which shows again with it, and nothing else. Detached, nothing reaches the
// controls or the model.
TEST(WindowMirror, WhatShowsFollowsTheWidthAndTheFramesAndTextWaitsForView) {
  Mirrored m;
  for (const char* note : {"hide Label1", "show Label4", "show Text5"}) {
    EXPECT_NE(std::find(m.attached.begin(), m.attached.end(), note), m.attached.end()) << note;
  }
  const int alarmFrameLeft = m.form.Frame3.bounds().left;
  m.mirror.setOuterWidthTwips(alarmFrameLeft + 121);
  EXPECT_TRUE(m.mirror.shown(m.form.Frame3));
  m.mirror.setOuterWidthTwips(alarmFrameLeft + 120);
  EXPECT_FALSE(m.mirror.shown(m.form.Frame3));
  EXPECT_FALSE(m.mirror.shown(m.form.Text5));
  EXPECT_TRUE(m.mirror.shown(m.form.Frame2));
  m.natives.notes.clear();
  m.form.Text5.setText("07:30:00");
  m.form.Text5.setText("07:30:01");
  m.form.Label7.setCaption("Countdown 00:01:00");
  EXPECT_TRUE(m.natives.notes.empty());
  m.mirror.setOuterWidthTwips(alarmFrameLeft + 121);
  EXPECT_TRUE(m.noted("show Text5"));
  EXPECT_EQ(m.count("update Text5 " + text), 1);
  EXPECT_EQ(m.count("update Label4 " + caption), 0) << "a display in view all along";
  m.form.Label7.setVisible(true);
  EXPECT_EQ(m.count("update Label7 " + caption), 1);

  m.natives.notes.clear();
  m.form.Frame2.setVisible(false);
  EXPECT_TRUE(m.noted("hide Frame2") && m.noted("hide Option1(3)") && m.noted("hide Option2"));
  m.form.Frame2.setVisible(true);
  EXPECT_TRUE(m.noted("show Option1(3)"));
  EXPECT_FALSE(m.noted("show Label4"));

  m.mirror.detach();
  m.natives.notes.clear();
  m.form.Label5.setCaption("xx");
  m.mirror.setOuterWidthTwips(frmUhr::compactWidthTwips);
  m.form.trayData.setTip("alt");
  m.mirror.mouseMoved(30, 40);
  EXPECT_TRUE(m.natives.notes.empty());
  EXPECT_EQ(m.form.trayData.tip(), "alt");
}

// A control's place at the screen's resolution (144 dpi: ten twips a pixel), in its frame or in
// the window; Tab keeps the option buttons of one frame together where the first of them stands,
// one group ('|' where a group starts).
TEST(WindowMirror, PlacesAndTabOrderFollowTheDesign) {
  Mirrored m;
  const PixelRect inFrame = m.mirror.placeOf(m.form.Text5, false);
  const PixelRect inWindow = m.mirror.placeOf(m.form.Text5, true);
  EXPECT_EQ((std::vector{inFrame.left, inFrame.top, inFrame.width, inFrame.height}),
            (std::vector{48, 24, 98, 41}));
  EXPECT_EQ((std::vector{inWindow.left, inWindow.top}), (std::vector{488, 50}));

  std::vector<std::string> order;
  const Control* previous = nullptr;
  for (const Control* control : WindowMirror::tabOrder(m.form.controls())) {
    const bool starts = !previous || !WindowMirror::inOneOptionGroup(previous, control);
    previous = control;
    if (control->tabIndex() < 1 || control->tabIndex() > 16) continue;
    order.push_back((starts ? "|" : "") + control->name());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"|Label3(1)", "|Label3(0)", "|Frame2", "|Option1(0)",
                                             "Option1(1)", "Option1(2)", "Option1(3)", "Option2",
                                             "|Command1", "|Frame3", "|Text5", "|Command2",
                                             "|Command3", "|Command4", "|Command5", "|Label1"}));
}

// The pointer's moves and the window's paints reach the model; a close ends the clock at once,
// even while a clip plays, but with an alarm armed it asks, once the clip has ended.
TEST(WindowMirror, MovesPaintsAndClosesReachTheModel) {
  Mirrored m;
  m.form.trayData.setTip("alt");
  m.mirror.mouseMoved(30, 40);
  EXPECT_EQ(m.form.trayData.tip(), titleTip);
  m.form.Label6.setCaption("xx");
  m.mirror.paintRequested();
  EXPECT_NE(m.form.Label6.caption(), "xx");

  m.gate.pending = [&] { m.mirror.closeRequested(); };
  EXPECT_THROW(m.gate.whileClipPlays(), ProgramEnded);

  Mirrored armed;
  alarm_actions::arm(armed.form, "23:59:00");
  armed.gate.pending = [&] { armed.mirror.closeRequested(); };
  armed.gate.whileClipPlays();
  EXPECT_TRUE(armed.program.sim.traced("msgbox").empty()) << "asked while a clip plays";
  armed.gate.processPendingEvents();
  EXPECT_EQ(armed.program.sim.traced("msgbox").size(), 1u);
}
