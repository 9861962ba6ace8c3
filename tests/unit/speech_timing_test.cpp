#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/local_time.h"
#include "app/vocabulary.h"
#include "platform/sim/simulated_program.h"
#include "speech/clip_store.h"

using Clips = std::vector<std::int16_t>;

namespace {

constexpr std::int64_t second = 1000;

// Every clip starts after the one before it ended.
void expectNoOverlap(const SimPlatform& sim) {
  for (size_t i = 1; i < sim.played.size(); ++i) {
    EXPECT_GE(sim.played[i].start, sim.played[i - 1].end) << "clip " << i;
  }
}

}  // namespace

TEST(SpeechTiming, DisplaysMoveOnBetweenClipsAndEachIsReadWhenItsPartComes) {
  SimulatedProgram program;
  program.startAt(13, 21, 4);
  const std::int64_t click = program.sim.clock.ms() + 500;
  program.sim.at(click, [&] { program.form.Command1.press(); });
  program.sim.runFor(10 * second);

  // 300 "Es ist", 13, "Uhr", 21 ... the seconds display is read when the link word is done.
  const Clips spoken = program.sim.clipIds();
  ASSERT_EQ(spoken.size(), 8u);
  EXPECT_EQ(Clips(spoken.begin(), spoken.begin() + 6), (Clips{300, 13, 200, 101, 20, 99}));
  const SimPlatform::PlayedClip& link = program.sim.played[5];
  const int secondsAtLink = static_cast<int>(link.start / second % 60);
  EXPECT_EQ(spoken[6], secondsAtLink) << "spoken seconds are the display's when they were read";
  EXPECT_EQ(spoken[7], 600);
  EXPECT_GE(secondsAtLink, 7) << "ticks ran between the clips";

  // The seconds display stands still while the seconds are spoken, then catches up.
  LocalDateTime after;
  after.second = secondsAtLink + 1;
  const std::string next = "Label6.caption=" + secondText(after);
  EXPECT_GE(program.sim.timeOf(next), program.sim.played.back().end);
  expectNoOverlap(program.sim);
}

TEST(SpeechTiming, AClickDuringAClipIsHandledAfterItAndItsAnnouncementNestsComplete) {
  SimulatedProgram program;
  program.startAt(10, 14, 20);
  const std::int64_t click = program.sim.clock.ms() + 300;
  program.sim.at(click, [&] { program.form.Command1.press(); });
  program.sim.at(click + 200, [&] { program.form.Command1.press(); });
  program.sim.runFor(20 * second);

  const Clips spoken = program.sim.clipIds();
  // Outer 300, then the whole nested announcement, then the outer one goes on.
  ASSERT_GE(spoken.size(), 14u);
  EXPECT_EQ(spoken[0], 300);
  EXPECT_EQ(Clips(spoken.begin() + 1, spoken.begin() + 5), (Clips{300, 10, 200, 14}));
  EXPECT_EQ(spoken[5], 99);
  EXPECT_EQ(spoken.back(), 600);
  int openings = 0;
  int hourWords = 0;
  for (std::int16_t id : spoken) {
    openings += id == 300;
    hourWords += id == 200;
  }
  EXPECT_EQ(openings, 2);
  EXPECT_EQ(hourWords, 2);
  expectNoOverlap(program.sim);
  EXPECT_TRUE(program.form.Timer1.enabled());
}

TEST(SpeechTiming, WithoutASoundDeviceAnAnnouncementCompletesAtOnce) {
  SimulatedProgram program;
  program.sim.soundDevice = false;
  program.startAt(10, 14, 20);
  const std::int64_t before = program.sim.clock.ms();
  program.form.Command1.press();
  EXPECT_EQ(program.sim.clock.ms(), before);
  EXPECT_TRUE(program.form.Timer1.enabled());
  program.sim.runFor(2 * second);
  EXPECT_EQ(program.form.Label6.caption(), "22");
}

TEST(SpeechTiming, PlayClipShowsTheNewestHourAndMinuteBeforeEveryClip) {
  SimulatedProgram program;
  program.startAt(10, 14, 20);
  const size_t before = program.sim.trace.size();
  program.form.PlayClip(200);
  program.form.PlayClip(200);
  std::vector<std::string> seen;
  for (size_t i = before; i < program.sim.trace.size(); ++i) {
    if (program.sim.trace[i].ends_with(".refresh")) seen.push_back(program.sim.trace[i]);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Label4.refresh", "Label5.refresh", "Label4.refresh",
                                            "Label5.refresh"}));
  EXPECT_EQ(program.form.clipBuffer.size(), findClip(clip::hourWord)->image.size());
}
