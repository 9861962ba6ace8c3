#include <benchmark/benchmark.h>

#include "platform/sim/simulated_program.h"

namespace {

// One clock tick inside a second that is already shown: every display is up to date, so the
// tick reads the clock and compares captions but changes nothing.
void BM_TickWithoutChange(benchmark::State& state) {
  SimulatedProgram program;
  program.startAt(10, 14, 50, 200);
  program.form.Timer1.fire();
  const size_t traced = program.sim.trace.size();

  for (auto _ : state) program.form.Timer1.fire();

  if (program.sim.trace.size() != traced) state.SkipWithError("a tick changed the display");
}
BENCHMARK(BM_TickWithoutChange);

}  // namespace
