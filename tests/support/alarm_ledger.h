#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

#include "core/alarm/time_of_day.h"
#include "core/app/vocabulary.h"
#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"

// Arms alarms as a person would and keeps the book of when each must fire: in the first second
// after its time's next occurrence, unless it was disarmed or replaced before.
class AlarmLedger {
 public:
  explicit AlarmLedger(SimulatedProgram& program) : program_(program) {}

  void arm(int timeOfDay) {
    disarming();
    const std::int64_t now = program_.sim.clock.ms();
    const std::int64_t ofDay = now % dayMs / 1000;
    const std::int64_t wait = ((timeOfDay - ofDay) % secondsPerDay + secondsPerDay) % secondsPerDay;
    armings_.push_back({now / 1000 * 1000 + (wait + 1) * 1000, std::nullopt});
    alarm_actions::arm(program_.form, timeOfDayText(timeOfDay));
  }

  // Mostly an alarm a little ahead, now and then any time of day (which may mean tomorrow).
  void armRandomly(std::mt19937& random) {
    const std::int64_t ofDay = program_.sim.clock.ms() % dayMs / 1000;
    const bool soon = random() % 10 < 7;
    arm(static_cast<int>(soon ? (ofDay + 10 + random() % 7200) % secondsPerDay
                              : random() % secondsPerDay));
  }

  // Call before anything that disarms or replaces the armed alarm.
  void disarming() {
    if (!armings_.empty() && !armings_.back().endedAt && program_.form.alarmArmed == 1) {
      armings_.back().endedAt = program_.sim.clock.ms();
    }
  }

  // Every alarm due before the end fired once within a few seconds of its moment (a clip that
  // was playing may delay it that long); disarmed ones never; no signal came otherwise.
  size_t expectAllFiredOnce(std::int64_t end) const {
    std::vector<std::int64_t> signals;
    for (const auto& clip : program_.sim.played) {
      if (clip.id == clip::alarmSignal) signals.push_back(clip.start);
    }
    size_t fired = 0;
    for (const Arming& a : armings_) {
      if (a.due >= end) continue;
      const bool endedFirst = a.endedAt && *a.endedAt < a.due;
      const auto count = std::count_if(signals.begin(), signals.end(), [&](std::int64_t s) {
        return s >= a.due && s < a.due + 10'000;
      });
      EXPECT_EQ(count, endedFirst ? 0 : 1) << "alarm due at " << a.due;
      fired += endedFirst ? 0 : 1;
    }
    EXPECT_EQ(signals.size(), fired) << "no alarm fires outside its second";
    return fired;
  }

 private:
  static constexpr std::int64_t dayMs = 86'400'000;
  struct Arming {
    std::int64_t due;
    std::optional<std::int64_t> endedAt;
  };
  SimulatedProgram& program_;
  std::vector<Arming> armings_;
};
