#include "platform/common/clock_requests.h"

#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

// A running clock as a caller meets it: its answers in turn (the last one for good), and how many
// more times it can be reached before it is gone.
struct ScriptedClock : ClockContact {
  bool clockAnswers() override { return reachable-- > 0; }
  ClaimOutcome claim() override { return ClaimOutcome::heldByClock; }
  ClockAnswer ask(std::string_view command) override {
    asked.emplace_back(command);
    const ClockAnswer answer = answers.front();
    if (answers.size() > 1) answers.pop_front();
    return answer;
  }
  void complain(const std::string& line) override { complaints.push_back(line); }

  std::deque<ClockAnswer> answers;
  int reachable = 0;
  std::vector<std::string> asked;
  std::vector<std::string> complaints;
};

std::optional<int> quit(ScriptedClock& clock) {
  return handOverToRunningClock({clockCommand::quit}, clock);
}

std::optional<int> speakAndShow(ScriptedClock& clock) {
  return handOverToRunningClock({clockCommand::speak, clockCommand::show}, clock);
}

}  // namespace

// A quit is asked again while the clock is busy, and is done once the clock has gone; a clock
// that takes it but stays is reported as not answering, not as ended.
TEST(ClockRequests, AQuitIsDoneWhenTheClockHasGone) {
  ScriptedClock busyAWhile;
  busyAWhile.answers = {ClockAnswer::busy, ClockAnswer::busy, ClockAnswer::silent};
  busyAWhile.reachable = 2;
  EXPECT_EQ(quit(busyAWhile), 0);
  EXPECT_EQ(busyAWhile.asked.size(), 3u);
  EXPECT_TRUE(busyAWhile.complaints.empty());

  ScriptedClock kept;
  kept.answers = {ClockAnswer::kept};
  EXPECT_EQ(quit(kept), 1);
  EXPECT_EQ(kept.complaints,
            std::vector<std::string>{"lurvendel: die Uhr läuft weiter, ein Alarm ist gestellt\n"});

  ScriptedClock staying;
  staying.answers = {ClockAnswer::silent};
  staying.reachable = 1'000'000;
  EXPECT_EQ(quit(staying), 1);
  EXPECT_EQ(staying.complaints,
            std::vector<std::string>{"lurvendel: die laufende Uhr antwortet nicht\n"});
}

// The commands go one after the other while the clock takes each; the first one it does not take
// ends the run with its reason. A clock still starting (its claim held, no answer yet) is waited
// for; one that never answers is given ten seconds: a plain start then ends quietly.
TEST(ClockRequests, CommandsGoInTurnToAClockThatMayStillBeStarting) {
  ScriptedClock starting;
  starting.answers = {ClockAnswer::noClock, ClockAnswer::noClock, ClockAnswer::taken};
  EXPECT_EQ(speakAndShow(starting), 0);
  EXPECT_EQ(starting.asked, (std::vector<std::string>{"sprich", "sprich", "sprich", "anzeigen"}));

  ScriptedClock busy;
  busy.answers = {ClockAnswer::taken, ClockAnswer::busy};
  EXPECT_EQ(speakAndShow(busy), 1);
  EXPECT_EQ(busy.complaints, std::vector<std::string>{"lurvendel: die Uhr ist beschäftigt und "
                                                      "nimmt gerade nichts mehr an\n"});

  ScriptedClock silent;
  EXPECT_EQ(handOverToRunningClock({}, silent), 0);
  EXPECT_TRUE(silent.complaints.empty());
}
