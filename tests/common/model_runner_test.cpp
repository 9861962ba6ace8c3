#include "platform/common/model_runner.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "platform/common/clock_requests.h"
#include "support/alarm_actions.h"
#include "support/test_gate.h"

namespace {

// The model started at 09:10 on the simulated platform, run as a desktop runs it.
struct Running {
  Running() {
    sim.attach(runner.form());
    sim.clock.set(2026, 12, 7, 9, 10, 0);
    runner.start();
  }
  SimPlatform sim;
  TestGate gate;
  int broughtToFront = 0;
  ModelRunner runner{sim.ports(), gate, [this] { ++broughtToFront; }};
};

}  // namespace

// The commands of the user's other processes act as the user's own clicks: "anzeigen" brings the
// window back from the notification area and to the front; each "sprich" is a whole announcement
// once the window is quiet, three waiting at most.
TEST(ModelRunner, CommandsOfOtherProcessesActAsTheUsersClicks) {
  Running running;
  SimPlatform& sim = running.sim;
  ModelRunner& runner = running.runner;
  runner.form().Command8.press();
  ASSERT_FALSE(sim.visible);
  EXPECT_EQ(runner.obey(clockCommand::show), ClockAnswer::taken);
  EXPECT_TRUE(sim.visible);
  EXPECT_FALSE(sim.iconShownNow);
  EXPECT_EQ(running.broughtToFront, 1);

  for (const ClockAnswer answer :
       {ClockAnswer::taken, ClockAnswer::taken, ClockAnswer::taken, ClockAnswer::busy}) {
    EXPECT_EQ(runner.obey(clockCommand::speak), answer);
  }
  EXPECT_TRUE(sim.played.empty()) << "spoken before the window was quiet";
  running.gate.loopTurn();
  const auto openings = [&] {
    const std::vector<std::int16_t> clips = sim.clipIds();
    return std::count(clips.begin(), clips.end(), 300);
  };
  EXPECT_EQ(openings(), 3);

  // One that comes while a click's clip plays waits for the click's end, then is spoken.
  running.gate.deliver([&] {
    running.gate.pending = [&] { runner.obey(clockCommand::speak); };
    running.gate.whileClipPlays();
    running.gate.loopTurn();
  });
  EXPECT_EQ(openings(), 3);
  running.gate.loopTurn();
  EXPECT_EQ(openings(), 4);
}

// A quit waits for quiet (the caller asks again) and then ends the clock as its window's close
// does: at once without an alarm; with one, the kind without a question keeps it, the other asks
// and only "Ja" ends it.
TEST(ModelRunner, AQuitEndsTheClockOnceQuietAndAsksForAnArmedAlarm) {
  Running idle;
  idle.gate.pending = [&] { EXPECT_EQ(idle.runner.obey(clockCommand::quit), ClockAnswer::busy); };
  idle.gate.whileClipPlays();
  EXPECT_FALSE(idle.sim.ended);
  EXPECT_THROW(idle.runner.obey(clockCommand::quitWithoutAsking), ProgramEnded);

  Running armed;
  alarm_actions::arm(armed.runner.form(), "23:59:00");
  EXPECT_EQ(armed.runner.obey(clockCommand::quitWithoutAsking), ClockAnswer::kept);
  EXPECT_TRUE(armed.sim.traced("msgbox").empty());
  armed.sim.answers = {msgbox::Answer::no, msgbox::Answer::yes};
  EXPECT_EQ(armed.runner.obey(clockCommand::quit), ClockAnswer::kept);
  EXPECT_EQ(armed.sim.traced("msgbox").size(), 1u);
  EXPECT_THROW(armed.runner.obey(clockCommand::quit), ProgramEnded);
}
