#include "platform/common/model_runner.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "platform/common/clock_requests.h"
#include "support/test_gate.h"

// The commands of the user's other processes act as the user's own clicks: "anzeigen" brings the
// window back from the notification area and to the front; each "sprich" is a whole announcement
// once the window is quiet, three waiting at most.
TEST(ModelRunner, CommandsOfOtherProcessesActAsTheUsersClicks) {
  SimPlatform sim;
  TestGate gate;
  int broughtToFront = 0;
  ModelRunner runner(sim.ports(), gate, [&] { ++broughtToFront; });
  sim.attach(runner.form());
  sim.clock.set(2026, 12, 7, 9, 10, 0);
  runner.start();
  runner.form().Command8.press();
  ASSERT_FALSE(sim.visible);
  EXPECT_TRUE(runner.obey(clockCommand::show));
  EXPECT_TRUE(sim.visible);
  EXPECT_FALSE(sim.iconShownNow);
  EXPECT_EQ(broughtToFront, 1);

  for (const bool taken : {true, true, true, false}) {
    EXPECT_EQ(runner.obey(clockCommand::speak), taken);
  }
  EXPECT_TRUE(sim.played.empty()) << "spoken before the window was quiet";
  gate.runQuietCalls();
  const std::vector<std::int16_t> clips = sim.clipIds();
  EXPECT_EQ(std::count(clips.begin(), clips.end(), 300), 3) << "opening phrases";
}
