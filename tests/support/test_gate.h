#pragma once

#include <functional>
#include <utility>

#include "platform/common/call_gate.h"
#include "platform/sim/sim_platform.h"

// A call gate whose loop holds nothing: pumping runs what the test puts in its place, and the
// calls that wait for quiet run when the test says.
struct TestGate : CallGate {
  [[noreturn]] void endProgram() override { throw ProgramEnded{}; }
  void dispatchPendingEvents() override {
    if (pending) std::exchange(pending, nullptr)();
  }
  void scheduleQuietCalls() override {}
  using CallGate::runQuietCalls;

  std::function<void()> pending;
};
