#include <gtest/gtest.h>
#include <random>

#include "platform/sim/simulated_program.h"
#include "support/alarm_ledger.h"

namespace {
constexpr std::int64_t second = 1000;
constexpr std::int64_t hour = 3'600'000;
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
  AlarmLedger ledger(program);

  for (std::int64_t t = program.sim.clock.ms(); t < end;) {
    t += std::uniform_int_distribution<std::int64_t>(20 * second, 3 * hour)(random);
    const int action = static_cast<int>(random() % 6);
    program.sim.at(t, [&, action] {
      if (action <= 2) {
        ledger.armRandomly(random);
      } else if (action == 3) {
        ledger.disarming();
        form.Option1[static_cast<size_t>(random() % 4)].select();
      } else if (action == 4) {
        ledger.disarming();
        form.Option2.select();
        form.Command6.press();
      } else {
        form.Command1.press();
      }
    });
  }
  program.sim.runUntil(end);
  EXPECT_GT(ledger.expectAllFiredOnce(end), 5u);
}
