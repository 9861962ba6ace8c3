#include "platform/qt/qt_tick_timer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "app/controls/timer.h"
#include "platform/posix/system_clock.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_event_loop.h"

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
  QtEventLoop loop;
  QtTickTimer qtTicks{timer, clock, loop};
  int ticks = 0;
  int depth = 0;
  int maxDepth = 0;
  std::function<void()> whileTicking;
};

}  // namespace

TEST(QtTickTimer, ATickDueWhileAHandlerPumpsRunsNestedAndOnlyOnce) {
  TickRig rig;
  int nestedDuringPump = -1;
  rig.whileTicking = [&] {
    if (rig.depth != 1 || nestedDuringPump >= 0) return;
    usleep(350'000);  // like a clip playing: three ticks fall due meanwhile
    const int before = rig.ticks;
    rig.loop.processPendingEvents();
    nestedDuringPump = rig.ticks - before;
  };
  rig.timer.setInterval(100);
  rig.runEventLoopFor(800);

  EXPECT_EQ(nestedDuringPump, 1);
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

TEST(QtTickTimer, AStoppedTimerDeliversNothingAndResumesWhenEnabled) {
  TickRig rig;
  rig.timer.setEnabled(false);
  rig.timer.setInterval(100);
  rig.runEventLoopFor(350);
  EXPECT_EQ(rig.ticks, 0);

  rig.timer.setEnabled(true);
  rig.runEventLoopFor(1000);
  EXPECT_GE(rig.ticks, 2);
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
