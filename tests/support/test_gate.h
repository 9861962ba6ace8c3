#pragma once

#include <functional>
#include <utility>

#include "platform/common/call_gate.h"
#include "platform/sim/sim_platform.h"

// A call gate whose loop holds nothing: pumping runs what the test puts in its place, and the
// loop takes a turn when the test says, running the calls that wait for quiet if they were
// scheduled.
struct TestGate : CallGate {
  [[noreturn]] void endProgram() override { throw ProgramEnded{}; }
  void dispatchPendingEvents() override {
    if (pending) std::exchange(pending, nullptr)();
  }
  void scheduleQuietCalls() override { quietCallsDue = true; }
  void loopTurn() {
    if (std::exchange(quietCallsDue, false)) runQuietCalls();
  }

  std::function<void()> pending;
  bool quietCallsDue = false;
};
