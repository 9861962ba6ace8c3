#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <malloc.h>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/app/vocabulary.h"
#include "platform/sim/simulated_program.h"
#include "support/alarm_ledger.h"
#include "support/spoken.h"

namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;
constexpr std::int64_t day = 24 * hour;
constexpr std::array<int, 4> intervals = {1, 5, 15, 30};

// The sanitizers' allocator keeps its own count; without them, glibc's.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));
size_t allocatedBytes() {
  if (__sanitizer_get_current_allocated_bytes) return __sanitizer_get_current_allocated_bytes();
  return mallinfo2().uordblks;
}

struct Announcement {
  std::int64_t start;
  std::int64_t end;
  std::vector<std::int16_t> clips;
};

// The clips split into announcements, each opened by a signal or by "Es ist".
std::vector<Announcement> announcements(const SimPlatform& sim) {
  std::vector<Announcement> found;
  for (const auto& clip : sim.played) {
    if (found.empty() || clip.id == clip::announcementSignal || clip.id == clip::opening ||
        clip.id == clip::alarmSignal) {
      found.push_back({clip.start, clip.end, {}});
    }
    found.back().clips.push_back(clip.id);
    found.back().end = clip.end;
  }
  return found;
}

// Whether the words name a time of day that was current while they were spoken.
bool namesATimeOfTheMoment(const std::string& words, const Announcement& a, const char* opening) {
  for (std::int64_t t = a.start / second * second; t <= a.end; t += second) {
    const int h = static_cast<int>(t / hour % 24);
    const int m = static_cast<int>(t / minute % 60);
    for (int s = 0; s < 60; ++s) {
      if (words == opening + spoken::time(h, m, s) ||
          words == opening + spoken::time(h, m, s, true)) {
        return true;
      }
    }
  }
  return false;
}

// A week of everything a person does with the clock, at random: intervals, "Sprich", hiding to
// the tray and coming back, minimising, alarms armed, replaced and cancelled.
struct RandomWeek {
  explicit RandomWeek(SimulatedProgram& program) : ledger(program) {
    program.startAt(0, 0, 5);
    start = program.sim.clock.ms();
    end = start + 7 * day;
    for (std::int64_t t = start; t < end;) {
      t += std::uniform_int_distribution<std::int64_t>(5 * second, 90 * minute)(random);
      actions.push_back(t);
      const int action = static_cast<int>(random() % 9);
      program.sim.at(t, [this, &form = program.form, &sim = program.sim, action] {
        switch (action) {
          case 0:
            ledger.armRandomly(random);
            break;
          case 1:
            ledger.disarming();
            form.Option1[static_cast<size_t>(random() % 4)].select();
            break;
          case 2:
            ledger.disarming();
            form.Option2.select();
            form.Command6.press();
            break;
          case 3:
            ++presses;
            form.Command1.press();
            break;
          case 4:
            form.Command8.press();
            break;
          case 5:
            sim.menuChoices = {"mnuAnzeige"};
            form.trayIconEvent(iconMouse::rightButtonUp);
            break;
          case 6:
            sim.minimized = !sim.minimized;
            break;
          default:
            // The interval items are locked in alarm mode; chosen, they disarm.
            if (form.mnuFünf.enabled()) ledger.disarming();
            sim.menuChoices = {random() % 2 ? "mnuFünf" : "mnuDreissig"};
            form.trayIconEvent(iconMouse::rightButtonUp);
        }
      });
    }
  }

  RandomWeek(const RandomWeek&) = delete;  // its actions point back at it

  std::mt19937 random{1207};
  AlarmLedger ledger;
  std::int64_t start = 0;
  std::int64_t end = 0;
  std::vector<std::int64_t> actions;
  int presses = 0;
};

// Everything the user can see and hear, with the second it happened in.
std::vector<std::string> observed(const SimPlatform& sim) {
  std::vector<std::string> seen;
  for (size_t i = 0; i < sim.trace.size(); ++i) {
    seen.push_back(std::to_string(sim.traceTimes[i] / second) + " " + sim.trace[i]);
  }
  for (const auto& clip : sim.played) {
    seen.push_back(std::to_string(clip.start / second) + " clip " + std::to_string(clip.id));
  }
  return seen;
}

}  // namespace

// A random week checked against German as it is spoken and the rules as they are written, not
// against the program's own functions: every announcement names a time of its moment, every minute
// the interval calls for is announced once and no other, every click speaks once, every alarm fires
// once at its second, announcements never overlap, and memory stays flat.
TEST(WeekSoak, AWeekOfRandomUseKeepsEveryRule) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  SimPlatform& sim = program.sim;
  RandomWeek week(program);
  const std::int64_t start = week.start;
  const std::int64_t end = week.end;
  const std::vector<std::int64_t>& actions = week.actions;
  std::map<std::int64_t, size_t> allocatedAt;
  // Which interval is chosen, and whether the alarm silences the schedule, just before each
  // minute; the program's own bookkeeping must not grow with time.
  std::map<std::int64_t, int> calledEvery;  // 0: silenced
  for (std::int64_t b = (start / minute + 1) * minute; b < end; b += minute) {
    sim.at(b - 1, [&, b] {
      int every = 0;
      for (size_t i = 0; i < intervals.size(); ++i) {
        if (form.Option1[i].value()) every = intervals[i];
      }
      calledEvery[b] = form.alarmArmed ? 0 : every;
    });
  }
  for (std::int64_t d = 2; d <= 7; ++d) {
    sim.at(start + d * day - second, [&, d] {
      sim.trace.clear();
      sim.traceTimes.clear();
      allocatedAt[d] = allocatedBytes() - sim.played.capacity() * sizeof(SimPlatform::PlayedClip);
    });
  }
  sim.runUntil(end);

  const size_t fired = week.ledger.expectAllFiredOnce(end);
  std::map<std::int64_t, int> scheduled;
  int openings = 0;
  for (const Announcement& a : announcements(sim)) {
    const std::string words = spoken::words(a.clips);
    if (words.starts_with("[Gong] ")) {
      ++scheduled[a.start / minute * minute];
      EXPECT_TRUE(namesATimeOfTheMoment(words, a, "[Gong] ")) << words;
    } else if (words.starts_with("Es ist ")) {
      ++openings;
      EXPECT_TRUE(namesATimeOfTheMoment(words, a, "Es ist ")) << words;
    }
  }
  // A minute near a user's action may fall either side of it; those are left out.
  const auto actionNear = [&](std::int64_t b) {
    const auto next = std::lower_bound(actions.begin(), actions.end(), b - 15 * second);
    return next != actions.end() && *next <= b + 15 * second;
  };
  for (const auto& [b, every] : calledEvery) {
    const int m = static_cast<int>(b / minute % 60);
    const bool called = every != 0 && m % every == 0;
    if (actionNear(b)) continue;
    EXPECT_EQ(scheduled[b], called ? 1 : 0) << (b - start) / minute;
  }
  EXPECT_EQ(openings, week.presses + static_cast<int>(fired)) << "each click and alarm speaks once";
  for (size_t i = 1; i < sim.played.size(); ++i) {
    EXPECT_GE(sim.played[i].start, sim.played[i - 1].end);
  }
  EXPECT_LT(allocatedAt[7], allocatedAt[2] + 64 * 1024) << "memory grew over the week";
  EXPECT_TRUE(form.Timer1.enabled());
  EXPECT_EQ(form.sayHourOnly, 0);
}

// The real platforms tick only at each second and after what a user does; ten ticks a second
// would change nothing a user sees or hears: the same week shows the same displays, captions and
// menus and speaks the same words, each in the same second, and fires the same alarms.
TEST(WeekSoak, TickingOnlyWhenItCanMatterChangesNothing) {
  const auto week = [](bool atSecondsOnly, int& ticks) {
    SimulatedProgram program;
    program.sim.ticksAtSecondsOnly = atSecondsOnly;
    const RandomWeek script(program);
    program.sim.runUntil(script.end);
    ticks = program.sim.ticks;
    return observed(program.sim);
  };
  int everyInterval = 0;
  int atSeconds = 0;
  const std::vector<std::string> expected = week(false, everyInterval);
  const std::vector<std::string> seen = week(true, atSeconds);
  const auto differ = std::mismatch(seen.begin(), seen.end(), expected.begin(), expected.end());
  EXPECT_TRUE(differ.first == seen.end() && differ.second == expected.end())
      << (differ.first == seen.end() ? "(end)" : *differ.first) << " instead of "
      << (differ.second == expected.end() ? "(end)" : *differ.second);
  EXPECT_LT(atSeconds * 5, everyInterval);
}
