#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_tick_timer.h"
#include "win32/desktop.h"

namespace {

// A clock timer with the real tick timer behind it, recording when each tick ran and how deep.
struct TickRig {
  TickRig() {
    gate.afterUserCall = [this] { ticks.afterUserAction(); };
    timer.onTimer = [this] {
      tickMs.push_back(clock.now().millisecond);
      maxDepth = std::max(maxDepth, ++depth);
      if (whileTicking) whileTicking();
      --depth;
    };
  }
  int count() const { return static_cast<int>(tickMs.size()); }

  Timer timer;
  Win32Clock clock;
  Win32CallGate gate;
  Win32TickTimer ticks{timer, clock, gate};
  std::vector<int> tickMs;  // the wall clock's millisecond at each tick
  int depth = 0;
  int maxDepth = 0;
  std::function<void()> whileTicking;
};

// Waits for the wall clock's next multiple of `step` milliseconds, and then `after` more.
void waitForBoundary(const Clock& clock, int step, int after) {
  const int ms = clock.now().millisecond;
  runMessagesFor(static_cast<DWORD>(step - ms % step + after));
}

}  // namespace

// The tick wakes just after each second of the wall clock, and after anything the user did, a
// clock that jumped or the timer switched on again, at once or at the next tenth of a second;
// never in between, never before its time, and never while the timer is off.
TEST(Win32TickTimer, WakesJustAfterEachSecondAndSoonAfterWhatChangedSomething) {
  TickRig rig;
  rig.timer.setInterval(100);
  waitForBoundary(rig.clock, 1000, 300);
  rig.tickMs.clear();
  runMessagesFor(2000);
  ASSERT_EQ(rig.count(), 2);
  for (const int ms : rig.tickMs) EXPECT_LT(ms, 30) << "a second's tick came late or early";

  struct Row {
    const char* what;
    std::function<void()> cause;
    int tickBefore;  // millisecond of the wall clock by which it ticked, from a moment at .300
  };
  const std::vector<Row> rows = {
      {"a click", [&] { rig.gate.deliver([] {}); }, 430},
      {"the clock jumped", [&] { rig.ticks.clockJumped(); }, 330},
      {"the timer switched on again",
       [&] {
         rig.timer.setEnabled(false);
         rig.timer.setEnabled(true);
       },
       430},
  };
  for (const Row& row : rows) {
    waitForBoundary(rig.clock, 1000, 300);
    rig.tickMs.clear();
    row.cause();
    runMessagesFor(600);
    ASSERT_EQ(rig.count(), 1) << row.what;
    EXPECT_LT(rig.tickMs[0], row.tickBefore) << row.what;
    EXPECT_TRUE(rig.tickMs[0] % 100 >= 1 || row.tickBefore == 330)
        << "before its time: " << row.what;
  }

  rig.timer.setEnabled(false);
  rig.tickMs.clear();
  runMessagesFor(1500);
  EXPECT_EQ(rig.count(), 0) << "ticks while the timer is off";
}

// While a clip plays the window lives on, but nothing reaches the model: a click and the ticks
// that fell due wait for the pump point after the clip, where the click runs, then one tick,
// nested in the tick that played the clip.
TEST(Win32TickTimer, WhatFallsDueWhileAClipPlaysRunsAfterItAndTicksOnlyOnce) {
  TickRig rig;
  std::vector<std::string> seen;
  // A click on the window, as its message brings it.
  MessageWindow button([&](UINT message, WPARAM, LPARAM) {
    if (message == WM_APP) rig.gate.deliver([&] { seen.push_back("click"); });
  });
  rig.whileTicking = [&] {
    if (rig.depth != 1 || !seen.empty()) return;
    seen.push_back("clip");
    const int before = rig.count();
    PostMessageW(button.handle(), WM_APP, 0, 0);
    const ULONGLONG end = GetTickCount64() + 2300;
    while (GetTickCount64() < end) {
      rig.gate.whileClipPlays();
      Sleep(5);
    }
    seen.push_back("ticks during the clip: " + std::to_string(rig.count() - before));
    rig.gate.processPendingEvents();
    seen.push_back("ticks after it: " + std::to_string(rig.count() - before));
  };
  rig.timer.setInterval(100);
  runMessagesUntil([&] { return seen.size() == 4; }, 5000);

  EXPECT_EQ(seen, (std::vector<std::string>{"clip", "ticks during the clip: 0", "click",
                                            "ticks after it: 1"}));
  EXPECT_EQ(rig.maxDepth, 2);
}

TEST(Win32TickTimer, TicksRunWhileAModalMessageBoxIsOpenInsideATick) {
  TickRig rig;
  Win32Dialogs dialogs(nullptr);
  int ticksWhileOpen = -1;
  rig.whileTicking = [&] {
    if (rig.depth != 1 || ticksWhileOpen >= 0) return;
    std::thread user([] {
      HWND box = nullptr;
      while (!(box = FindWindowW(L"#32770", nullptr))) Sleep(10);
      Sleep(2200);
      PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    const int before = rig.count();
    dialogs.messageBox("Frage", msgbox::question | msgbox::yesNo, "Titel");
    ticksWhileOpen = rig.count() - before;
    user.join();
  };
  rig.timer.setInterval(100);
  runMessagesUntil([&] { return ticksWhileOpen >= 0; }, 6000);

  EXPECT_GE(ticksWhileOpen, 2);
  EXPECT_EQ(rig.maxDepth, 2);
}
