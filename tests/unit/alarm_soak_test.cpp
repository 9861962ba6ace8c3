#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

#include "alarm/time_of_day.h"
#include "sim/alarm_actions.h"
#include "sim/simulated_program.h"

using namespace alarm_actions;

namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;
constexpr std::int64_t hour = 60 * minute;
constexpr std::int64_t day = 24 * hour;

struct Arming {
  std::int64_t due;  // first moment the alarm may fire
  std::optional<std::int64_t> endedAt;  // disarmed or replaced before it fired
};

}  // namespace

// Two days of alarms armed for random times at random moments, some cancelled, some replaced,
// with "Sprich" pressed now and then: each alarm fires once, in the first tick after its time's
// next occurrence, and none fires after it was disarmed.
TEST(AlarmSoak, EveryArmedAlarmFiresOnceAtItsSecondAndDisarmedOnesNever) {
  SimulatedProgram program;
  frmUhr& form = program.form;
  program.startAt(0, 0, 5);
  const std::int64_t end = program.sim.clock.ms() + 48 * hour;
  std::mt19937 random(4711);
  std::vector<Arming> armings;

  const auto endCurrent = [&](std::int64_t now) {
    if (!armings.empty() && !armings.back().endedAt && form.alarmArmed == 1) {
      armings.back().endedAt = now;
    }
  };
  for (std::int64_t t = program.sim.clock.ms(); t < end;) {
    t += std::uniform_int_distribution<std::int64_t>(20 * second, 3 * hour)(random);
    const int action = static_cast<int>(random() % 6);
    // Mostly an alarm a little ahead, now and then any time of day (which may mean tomorrow).
    const bool soon = random() % 10 < 7;
    const int ahead = static_cast<int>(soon ? 10 + random() % 7200 : random() % secondsPerDay);
    program.sim.at(t, [&, action, ahead, soon] {
      const std::int64_t now = program.sim.clock.ms();
      if (action <= 2) {
        endCurrent(now);
        const std::int64_t ofDay = now % day / second;
        const int entry = static_cast<int>(soon ? (ofDay + ahead) % secondsPerDay : ahead);
        const std::int64_t wait = ((entry - ofDay) % secondsPerDay + secondsPerDay) % secondsPerDay;
        armings.push_back({now / second * second + (wait + 1) * second, std::nullopt});
        arm(form, timeOfDayText(entry));
      } else if (action == 3) {
        endCurrent(now);
        form.Option1[static_cast<size_t>(random() % 4)].select();
      } else if (action == 4) {
        endCurrent(now);
        form.Option2.select();
        form.Command6.press();
      } else {
        form.Command1.press();
      }
    });
  }
  program.sim.runUntil(end);

  std::vector<std::int64_t> signals;
  for (const auto& clip : program.sim.played) {
    if (clip.id == 400) signals.push_back(clip.start);
  }
  size_t fired = 0;
  for (const Arming& a : armings) {
    const bool endedFirst = a.endedAt && *a.endedAt < a.due;
    const auto count = std::count_if(signals.begin(), signals.end(), [&](std::int64_t s) {
      return s >= a.due && s < a.due + 10 * second;
    });
    if (a.due >= end) continue;
    EXPECT_EQ(count, endedFirst ? 0 : 1) << "alarm due at " << a.due;
    fired += endedFirst ? 0 : 1;
  }
  EXPECT_EQ(signals.size(), fired) << "no alarm fires outside its second";
  EXPECT_GT(fired, 5u);
}
