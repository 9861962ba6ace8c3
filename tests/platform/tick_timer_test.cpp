#include <algorithm>
#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include "core/app/controls/timer.h"
#include "platform/posix/posix_clock.h"
#include "platform/qt/qt_call_gate.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_tick_timer.h"

namespace {

// A clock timer with the real Qt tick timer behind it, counting ticks and their nesting.
struct TickRig {
  TickRig() {
    timer.onTimer = [this] {
      ++ticks;
      maxDepth = std::max(maxDepth, ++depth);
      if (whileTicking) whileTicking();
      --depth;
    };
  }

  void runEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }

  Timer timer;
  PosixClock clock;
  QtCallGate gate;
  QtTickTimer qtTicks{timer, clock, gate};
  int ticks = 0;
  int depth = 0;
  int maxDepth = 0;
  std::function<void()> whileTicking;
};

}  // namespace

// While a clip plays the window lives on, but nothing reaches the model: a click and the ticks
// that fell due (two seconds pass) wait for the pump point after the clip, where the click runs,
// then one tick, nested in the tick that played the clip. What waits for quiet comes after all.
TEST(QtTickTimer, WhatFallsDueWhileAClipPlaysRunsAfterItAndTicksOnlyOnce) {
  TickRig rig;
  std::vector<std::string> seen;
  rig.whileTicking = [&] {
    if (rig.depth != 1 || !seen.empty()) return;
    seen.push_back("clip");
    rig.gate.whenQuiet([&] { seen.push_back("quiet"); });
    QTimer::singleShot(20, [&] { rig.gate.deliver([&] { seen.push_back("click"); }); });
    const int before = rig.ticks;
    QElapsedTimer clip;
    clip.start();
    while (clip.elapsed() < 2100) {  // two seconds fall due
      rig.gate.whileClipPlays();
      usleep(5000);
    }
    seen.push_back("ticks during the clip: " + std::to_string(rig.ticks - before));
    rig.gate.processPendingEvents();
    seen.push_back("ticks after it: " + std::to_string(rig.ticks - before));
  };
  rig.timer.setInterval(100);
  rig.runEventLoopFor(3500);

  EXPECT_EQ(seen, (std::vector<std::string>{"clip", "ticks during the clip: 0", "click",
                                            "ticks after it: 1", "quiet"}));
  EXPECT_EQ(rig.maxDepth, 2);
}

TEST(QtTickTimer, TicksRunWhileAModalMessageBoxIsOpenInsideATick) {
  TickRig rig;
  QtDialogs dialogs(nullptr);
  int ticksWhileOpen = -1;
  rig.whileTicking = [&] {
    if (rig.depth != 1 || ticksWhileOpen >= 0) return;
    QTimer::singleShot(2100, [] { QApplication::activeModalWidget()->close(); });
    const int before = rig.ticks;
    dialogs.messageBox("Frage", msgbox::question | msgbox::yesNo, "Titel");
    ticksWhileOpen = rig.ticks - before;
  };
  rig.timer.setInterval(100);
  rig.runEventLoopFor(3500);

  EXPECT_GE(ticksWhileOpen, 2);
  EXPECT_EQ(rig.maxDepth, 2);
}

// The process wakes for a tick at each second, not ten times a second; after whatever the user
// does a tick follows within an interval, and after the wall clock was set, at once.
TEST(QtTickTimer, TicksComeEachSecondAndSoonAfterAUserOrTheClockChangesSomething) {
  TickRig rig;
  std::vector<std::int64_t> tickedAt;
  rig.whileTicking = [&] { tickedAt.push_back(QDateTime::currentMSecsSinceEpoch()); };
  rig.timer.setInterval(100);
  rig.runEventLoopFor(2600);
  EXPECT_LE(tickedAt.size(), 4u) << "ticks in 2.6 s of idling";

  // Each a little after the middle of a second, with room for a late tick before the next.
  std::vector<std::int64_t> changedAt;
  for (int i = 0; i < 3; ++i) {
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    rig.runEventLoopFor(static_cast<int>(1300 - now % 1000));
    changedAt.push_back(QDateTime::currentMSecsSinceEpoch());
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    // The last change sets the wall clock, where that is permitted.
    if (i < 2 || clock_settime(CLOCK_REALTIME, &wall) != 0) rig.gate.deliver([] {});
  }
  rig.runEventLoopFor(1200);
  for (const std::int64_t changed : changedAt) {
    EXPECT_TRUE(
        std::any_of(tickedAt.begin(), tickedAt.end(),
                    [&](std::int64_t t) { return t >= changed && t / 1000 == changed / 1000; }))
        << "no tick after a change at " << changed % 1000 << " ms into its second";
  }
}

// A timer going before the platform's ticks are set up ticks all the same; one set going ticks
// within its interval, not only at the next second.
TEST(QtTickTimer, ATimerGoingTicksFromTheStartAndSetGoingAtOnce) {
  Timer early;
  int earlyTicks = 0;
  early.onTimer = [&] { ++earlyTicks; };
  early.setInterval(100);
  PosixClock clock;
  QtCallGate gate;
  QtTickTimer ticks(early, clock, gate);

  TickRig rig;
  while (QDateTime::currentMSecsSinceEpoch() % 1000 > 300) rig.runEventLoopFor(20);
  rig.timer.setInterval(100);
  rig.runEventLoopFor(400);
  EXPECT_GT(rig.ticks, 0) << "before the next second";
  EXPECT_GT(earlyTicks, 0);
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
