#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include "core/app/controls/timer.h"
#include "platform/posix/system_clock.h"
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
  SystemClock clock;
  QtCallGate gate;
  QtTickTimer qtTicks{timer, clock, gate};
  int ticks = 0;
  int depth = 0;
  int maxDepth = 0;
  std::function<void()> whileTicking;
};

}  // namespace

// While a clip plays the window lives on, but nothing reaches the model: a click and the ticks
// that fell due wait for the pump point after the clip, where the click runs, then one tick,
// nested in the tick that played the clip.
TEST(QtTickTimer, WhatFallsDueWhileAClipPlaysRunsAfterItAndTicksOnlyOnce) {
  TickRig rig;
  std::vector<std::string> seen;
  rig.whileTicking = [&] {
    if (rig.depth != 1 || !seen.empty()) return;
    seen.push_back("clip");
    QTimer::singleShot(20, [&] { rig.gate.deliver([&] { seen.push_back("click"); }); });
    const int before = rig.ticks;
    QElapsedTimer clip;
    clip.start();
    while (clip.elapsed() < 350) {
      rig.gate.whileClipPlays();
      usleep(5000);
    }
    seen.push_back("ticks during the clip: " + std::to_string(rig.ticks - before));
    rig.gate.processPendingEvents();
    seen.push_back("ticks after it: " + std::to_string(rig.ticks - before));
  };
  rig.timer.setInterval(100);
  rig.runEventLoopFor(800);

  EXPECT_EQ(seen, (std::vector<std::string>{"clip", "ticks during the clip: 0", "click",
                                            "ticks after it: 1"}));
  EXPECT_EQ(rig.maxDepth, 2);
}

TEST(QtTickTimer, TicksRunWhileAModalMessageBoxIsOpenInsideATick) {
  TickRig rig;
  QtDialogs dialogs(nullptr);
  int ticksWhileOpen = -1;
  rig.whileTicking = [&] {
    if (rig.depth != 1 || ticksWhileOpen >= 0) return;
    QTimer::singleShot(1000, [] { QApplication::activeModalWidget()->close(); });
    const int before = rig.ticks;
    dialogs.messageBox("Frage", msgbox::question | msgbox::yesNo, "Titel");
    ticksWhileOpen = rig.ticks - before;
  };
  rig.timer.setInterval(100);
  rig.runEventLoopFor(1500);

  EXPECT_GE(ticksWhileOpen, 2);
  EXPECT_EQ(rig.maxDepth, 2);
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
