#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"
#include "speech/number_rule.h"

using Clips = std::vector<std::int16_t>;

namespace {

// Displays that stand still while speaking: no ticks run and no change events fire.
void showDisplays(frmUhr& form, const std::string& hms) {
  for (Label* label : {&form.Label4, &form.Label5, &form.Label6}) label->onChange = nullptr;
  form.Label4.setCaption(hms.substr(0, 2));
  form.Label5.setCaption(hms.substr(3, 2));
  form.Label6.setCaption(hms.substr(6, 2));
}

struct Example {
  std::string displays;
  Clips speakTime;
  Clips sprich;
};

}  // namespace

TEST(SpeakTime, WorkedExamplesForBothWaysIn) {
  const std::vector<Example> examples = {
      {"00:00:00", {97, 200}, {300, 97, 200}},
      {"01:00:00", {98, 200}, {300, 98, 200}},
      {"01:01:00", {98, 200, 1}, {300, 98, 200, 1}},
      {"01:01:01", {98, 200, 1, 99, 700, 610}, {300, 98, 200, 1, 99, 700, 610}},
      {"07:10:11", {7, 200, 10, 99, 11, 600}, {300, 7, 200, 10, 99, 11, 600}},
      {"12:45:20", {12, 200, 105, 40, 99, 20, 600}, {300, 12, 200, 105, 40, 99, 20, 600}},
      {"13:00:05", {13, 200, 99, 5, 600}, {300, 13, 200}},
      {"13:21:05", {13, 200, 101, 20, 99, 5, 600}, {300, 13, 200, 101, 20, 99, 5, 600}},
      {"19:20:21", {19, 200, 20, 99, 101, 20, 600}, {300, 19, 200, 20, 99, 101, 20, 600}},
      {"20:30:40", {20, 200, 30, 99, 40, 600}, {300, 20, 200, 30, 99, 40, 600}},
      {"21:59:59",
       {101, 20, 200, 109, 50, 99, 109, 50, 600},
       {300, 101, 20, 200, 109, 50, 99, 109, 50, 600}},
      {"22:40:50", {102, 20, 200, 40, 99, 50, 600}, {300, 102, 20, 200, 40, 99, 50, 600}},
      {"23:30:01", {103, 20, 200, 30, 99, 700, 610}, {300, 103, 20, 200, 30, 99, 700, 610}},
      {"14:00:37", {14, 200, 99, 107, 30, 600}, {300, 14, 200}},
  };
  for (const Example& example : examples) {
    SimulatedProgram program;
    showDisplays(program.form, example.displays);
    program.form.SpeakTime();
    EXPECT_EQ(program.sim.clipIds(), example.speakTime) << example.displays;
    EXPECT_EQ(program.form.sayHourOnly, 0);

    const size_t before = program.sim.played.size();
    program.form.Command1.press();
    EXPECT_EQ(program.sim.clipIds(before), example.sprich) << "Sprich " << example.displays;
    EXPECT_EQ(program.form.sayHourOnly, 0);
    EXPECT_TRUE(program.form.Timer1.enabled());
  }
}

TEST(SpeakTime, HourOnlyRequestStopsAfterTheHourWordAndLeavesTheTimerAlone) {
  SimulatedProgram program;
  showDisplays(program.form, "14:00:00");
  program.form.sayHourOnly = 1;
  program.form.SpeakTime();
  EXPECT_EQ(program.sim.clipIds(), (Clips{14, 200}));
  EXPECT_EQ(program.form.sayHourOnly, 0);
  EXPECT_EQ(program.sim.traced("Timer1"), std::vector<std::string>{});
}

TEST(SpeakTime, NonNumericCaptionsSkipTheHourAndMinutes) {
  SimulatedProgram program;
  // The designed captions "Labeel4" and "Label5", seconds "00": nothing at all is said.
  program.form.SpeakTime();
  EXPECT_EQ(program.sim.clipIds(), Clips{});
  EXPECT_EQ(program.sim.traced("Timer1"),
            (std::vector<std::string>{"Timer1.interval=0 disabled", "Timer1.interval=0"}));

  program.form.Label6.setCaption("42");
  program.form.SpeakTime();
  EXPECT_EQ(program.sim.clipIds(), (Clips{99, 102, 40, 600}));

  program.form.sayHourOnly = 1;
  program.form.SpeakTime();
  EXPECT_EQ(program.sim.clipIds().size(), 4u);
  EXPECT_EQ(program.form.sayHourOnly, 0);
}

TEST(NumberRule, UnitsBeforeTensAndTheFormsOfZeroAndOne) {
  EXPECT_EQ(numberClips(0, NumberUse::hour), Clips{97});
  EXPECT_EQ(numberClips(0, NumberUse::minute), Clips{});
  EXPECT_EQ(numberClips(1, NumberUse::hour), Clips{98});
  EXPECT_EQ(numberClips(1, NumberUse::minute), Clips{1});
  EXPECT_EQ(numberClips(1, NumberUse::second), Clips{700});
  EXPECT_EQ(numberClips(20, NumberUse::minute), Clips{20});
  EXPECT_EQ(numberClips(21, NumberUse::hour), (Clips{101, 20}));
  EXPECT_EQ(numberClips(23, NumberUse::hour), (Clips{103, 20}));
  EXPECT_EQ(numberClips(31, NumberUse::second), (Clips{101, 30}));
  EXPECT_EQ(numberClips(50, NumberUse::minute), Clips{50});
  EXPECT_EQ(numberClips(59, NumberUse::minute), (Clips{109, 50}));
  EXPECT_EQ(numberClips(60, NumberUse::minute), Clips{});
  EXPECT_EQ(numberIn("07"), 7);
  EXPECT_EQ(numberIn("Labeel4"), std::nullopt);
  EXPECT_EQ(numberIn(""), std::nullopt);
}
