#include <algorithm>
#include <gtest/gtest.h>
#include <malloc.h>
#include <map>
#include <random>

#include "platform/sim/simulated_program.h"
#include "speech/number_rule.h"
#include "support/alarm_ledger.h"

namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;
constexpr std::int64_t day = 24 * hour;
constexpr int rightButtonUp = 517;

}  // namespace

// The sanitizers' allocator keeps its own count; without them, glibc's.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

static size_t allocatedBytes() {
  if (__sanitizer_get_current_allocated_bytes) return __sanitizer_get_current_allocated_bytes();
  return mallinfo2().uordblks;
}

// A week of everything a person does with the clock, at random: intervals, "Sprich", hiding to
// the tray and coming back, minimising, alarms armed, replaced and cancelled. Every click is
// answered once, every alarm fires once at its second, every scheduled announcement names the
// hour it belongs to, announcements never overlap, and memory stays flat.
TEST(WeekSoak, AWeekOfRandomUseKeepsEveryRule) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  SimPlatform& sim = program.sim;
  program.startAt(0, 0, 5);
  const std::int64_t start = sim.clock.ms();
  const std::int64_t end = start + 7 * day;
  std::mt19937 random(1207);
  AlarmLedger ledger(program);
  int presses = 0;
  std::map<std::int64_t, size_t> allocatedAt;

  for (std::int64_t t = start; t < end;) {
    t += std::uniform_int_distribution<std::int64_t>(5 * second, 90 * minute)(random);
    const int action = static_cast<int>(random() % 9);
    sim.at(t, [&, action] {
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
          form.trayIconEvent(rightButtonUp);
          break;
        case 6:
          sim.minimized = !sim.minimized;
          break;
        default:
          // The interval items are locked in alarm mode; chosen, they disarm.
          if (form.mnuFünf.enabled()) ledger.disarming();
          sim.menuChoices = {random() % 2 ? "mnuFünf" : "mnuDreissig"};
          form.trayIconEvent(rightButtonUp);
      }
    });
  }
  // The program's own bookkeeping must not grow with time; the test's records may.
  for (std::int64_t d = 2; d <= 7; ++d) {
    sim.at(start + d * day - second, [&, d] {
      sim.trace.clear();
      sim.traceTimes.clear();
      allocatedAt[d] = allocatedBytes() - sim.played.capacity() * sizeof(SimPlatform::PlayedClip);
    });
  }
  sim.runUntil(end);

  const size_t fired = ledger.expectAllFiredOnce(end);
  const auto& played = sim.played;
  const auto count = [&](std::int16_t id) {
    return std::count_if(played.begin(), played.end(), [id](const auto& c) { return c.id == id; });
  };
  EXPECT_EQ(count(300), presses + static_cast<long>(fired)) << "each click and alarm speaks once";
  std::map<std::int64_t, int> signalsAt;
  for (size_t i = 0; i < played.size(); ++i) {
    if (i > 0) {
      EXPECT_GE(played[i].start, played[i - 1].end);
    }
    if (played[i].id != 500) continue;
    const std::int64_t boundary = played[i].start / minute * minute;
    EXPECT_EQ(++signalsAt[boundary], 1) << "doubled announcement at " << boundary - start;
    const auto hourClips = numberClips(static_cast<int>(boundary / hour % 24), NumberUse::hour);
    ASSERT_LT(i + hourClips.size(), played.size());
    for (size_t k = 0; k < hourClips.size(); ++k) EXPECT_EQ(played[i + 1 + k].id, hourClips[k]);
  }
  EXPECT_LT(allocatedAt[7], allocatedAt[2] + 64 * 1024) << "memory grew over the week";
  EXPECT_TRUE(form.Timer1.enabled());
  EXPECT_EQ(form.sayHourOnly, 0);
  std::printf("week: %zu clips, %ld announcements with the signal, %d clicks, %zu alarms fired\n",
              played.size(), count(500), presses, fired);
}
