#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/controls/command_button.h"
#include "app/controls/label.h"
#include "app/controls/option_button.h"
#include "app/controls/text_box.h"
#include "app/controls/timer.h"

TEST(Label, RaisesChangeInsideTheAssignmentAndOnlyOnARealChange) {
  Label label("Label4", nullptr, {}, 0, "Labeel4");
  std::vector<std::string> seen;
  label.onChange = [&] { seen.push_back(label.caption()); };
  std::vector<Property> viewed;
  label.viewHook = [&](Property property) { viewed.push_back(property); };

  label.setCaption("10");
  label.setCaption("10");
  label.setCaption("11");

  EXPECT_EQ(seen, (std::vector<std::string>{"10", "11"}));
  EXPECT_EQ(viewed, (std::vector<Property>{Property::caption, Property::caption}));
}

TEST(Label, ChangeHandlerMaySetItsOwnLabelAgain) {
  Label label("Label5", nullptr, {}, 0, "Label5");
  int runs = 0;
  label.onChange = [&] {
    ++runs;
    label.setCaption("00");
  };
  label.setCaption("17");
  EXPECT_EQ(label.caption(), "00");
  EXPECT_EQ(runs, 2);
}

TEST(OptionGroup, SelectingClearsTheOthersAndClicksEvenWhenAlreadySelected) {
  OptionGroup group;
  OptionButton a("a", nullptr, {}, 0, "1 min", group);
  OptionButton b("b", nullptr, {}, 1, "Alarm", group);
  std::vector<std::string> clicks;
  a.onClick = [&] { clicks.push_back(std::string("a") + (b.value() ? "+b" : "")); };
  b.onClick = [&] { clicks.push_back(std::string("b") + (a.value() ? "+a" : "")); };

  a.select();
  b.select();
  b.select();

  EXPECT_FALSE(a.value());
  EXPECT_TRUE(b.value());
  // The others are already cleared when the click handler runs.
  EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b", "b"}));
}

TEST(CommandButton, PressRunsTheClickBeforeReturning) {
  CommandButton button("Command7", nullptr, {}, 0, "I");
  bool clicked = false;
  button.onClick = [&] { clicked = true; };
  button.press();
  EXPECT_TRUE(clicked);
}

TEST(TextBox, UserEditsDoNotEchoBackToTheView) {
  TextBox box("Text5", nullptr, {}, 0, "", 8);
  int viewed = 0;
  box.viewHook = [&](Property) { ++viewed; };
  box.setText("10:00:00");
  box.setText("10:00:00");
  box.editedByUser("10:00:0");
  EXPECT_EQ(box.text(), "10:00:0");
  EXPECT_EQ(viewed, 1);
}

TEST(Timer, FiresOnlyWithAnIntervalAndWhileEnabled) {
  Timer timer;
  int ticks = 0;
  int platformCalls = 0;
  timer.onTimer = [&] { ++ticks; };
  timer.platformHook = [&] { ++platformCalls; };

  timer.fire();
  timer.setInterval(100);
  timer.fire();
  timer.setEnabled(false);
  timer.fire();
  timer.setEnabled(true);
  timer.fire();

  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(platformCalls, 3);
}
