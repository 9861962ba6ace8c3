#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <vector>

#include "platform/sim/simulated_program.h"
#include "speech/number_rule.h"

using Clips = std::vector<std::int16_t>;

namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;
constexpr std::array<int, 4> intervals = {1, 5, 15, 30};

struct Expected {
  std::int64_t boundary;
  int hour;
  int minute;
};

}  // namespace

// Two days with the interval changed and "Sprich" pressed at random moments: every scheduled
// announcement the rules call for is made once, with the right words, and nothing else.
TEST(ScheduleSoak, TwoDaysOfRandomUseAnnounceExactlyWhatTheRulesCallFor) {
  SimulatedProgram program;
  program.startAt(0, 0, 5);
  const std::int64_t start = program.sim.clock.ms();
  const std::int64_t end = start + 48 * hour;
  std::mt19937 random(20261207);

  std::map<std::int64_t, int> optionFrom = {{start, 2}};
  int clicks = 0;
  for (std::int64_t t = start; t < end;) {
    t += std::uniform_int_distribution<std::int64_t>(10 * second, 40 * minute)(random);
    if (random() % 2 == 0) {
      const int option = static_cast<int>(random() % 4);
      optionFrom[t] = option;
      program.sim.at(
          t, [&program, option] { program.form.Option1[static_cast<size_t>(option)].select(); });
    } else {
      ++clicks;
      program.sim.at(t, [&program] { program.form.Command1.press(); });
    }
  }
  program.sim.runUntil(end);

  // A choice made within the clip-length of a boundary may be handled on either side of it;
  // the soak avoids asserting on those few boundaries.
  const auto optionAt = [&](std::int64_t t) {
    return std::prev(optionFrom.upper_bound(t))->second;
  };
  const auto choiceNear = [&](std::int64_t t) {
    const auto next = optionFrom.lower_bound(t - 10 * second);
    return next != optionFrom.end() && next->first <= t + 10 * second && next->first != start;
  };
  std::vector<Expected> expected;
  for (std::int64_t b = (start / minute + 1) * minute; b < end - minute; b += minute) {
    const int m = static_cast<int>(b / minute % 60);
    if (choiceNear(b)) continue;
    if (m == 0 || m % intervals[static_cast<size_t>(optionAt(b))] == 0) {
      expected.push_back({b, static_cast<int>(b / hour % 24), m});
    }
  }

  const auto& played = program.sim.played;
  size_t checked = 0;
  for (const Expected& e : expected) {
    const auto signal = std::find_if(played.begin(), played.end(), [&](const auto& clip) {
      return clip.id == 500 && clip.start >= e.boundary && clip.start < e.boundary + 10 * second;
    });
    ASSERT_NE(signal, played.end()) << "no announcement for " << e.hour << ":" << e.minute;
    Clips words = numberClips(e.hour, NumberUse::hour);
    words.push_back(200);
    if (e.minute != 0) {
      const Clips minuteWords = numberClips(e.minute, NumberUse::minute);
      words.insert(words.end(), minuteWords.begin(), minuteWords.end());
    }
    Clips heard;
    for (auto clip = signal + 1; clip != played.end() && heard.size() < words.size(); ++clip) {
      if (clip->id == 300) break;  // a click nested in the announcement; checked by count below
      heard.push_back(clip->id);
    }
    if (heard.size() == words.size()) {
      EXPECT_EQ(heard, words) << e.hour << ":" << e.minute;
      ++checked;
    }
  }
  // Every signal belongs to one boundary that called for it, or to one left open above.
  std::map<std::int64_t, int> signalsAt;
  for (const auto& clip : played) {
    if (clip.id != 500) continue;
    const std::int64_t b = clip.start / minute * minute;
    const int m = static_cast<int>(b / minute % 60);
    const bool called = m == 0 || m % intervals[static_cast<size_t>(optionAt(b))] == 0;
    EXPECT_TRUE(called || choiceNear(b)) << "unasked announcement at " << clip.start - start;
    EXPECT_EQ(++signalsAt[b], 1) << "doubled announcement at " << clip.start - start;
  }
  const auto openings =
      std::count_if(played.begin(), played.end(), [](const auto& clip) { return clip.id == 300; });
  EXPECT_GT(checked, expected.size() * 9 / 10);
  EXPECT_GE(signalsAt.size(), expected.size());
  EXPECT_EQ(openings, clicks) << "every click speaks once";
  for (size_t i = 1; i < played.size(); ++i) EXPECT_GE(played[i].start, played[i - 1].end);
  EXPECT_TRUE(program.form.Timer1.enabled());
  EXPECT_EQ(program.form.sayHourOnly, 0);
}
