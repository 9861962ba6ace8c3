#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/posix/posix_clock.h"
#include "platform/posix/wall_clock_timer.h"
#include "support/descriptors.h"
#include "support/privileges.h"
#include "support/temp_folder.h"

namespace {

// The system's zone, as a desktop sets it when the user picks one: another zone file at
// /etc/localtime. Mounted over it in this process's own mount namespace, so nothing else sees it.
bool setSystemZone(const char* zone) {
  const std::string file = std::string("/usr/share/zoneinfo/") + zone;
  return mount(file.c_str(), "/etc/localtime", nullptr, MS_BIND, nullptr) == 0;
}

}  // namespace

// The date and time of day as the C library has them for this moment.
TEST(PosixClock, ReadsTheLocalCalendar) {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char expected[20];
  std::strftime(expected, sizeof expected, "%Y-%m-%d %w %H:%M", &local);
  const LocalDateTime now = PosixClock().now();
  char read[40];
  std::snprintf(read, sizeof read, "%04d-%02d-%02d %d %02d:%02d", now.year, now.month, now.day,
                now.weekday, now.hour, now.minute);
  EXPECT_EQ(std::string(read), expected);
}

// A zone changed while the clock runs shows within a second; TZ is not set, as on a desktop.
TEST(PosixClock, FollowsTheSystemZoneWithinASecond) {
  if (const std::string why = privileges::whyNoPrivateMounts(); !why.empty()) GTEST_SKIP() << why;
  const pid_t child = fork();
  if (child == 0) {
    unsetenv("TZ");
    if (!privileges::enterPrivateMounts() || !setSystemZone("Etc/GMT-1")) {
      _exit(2);
    }
    const PosixClock clock;
    const int before = clock.now().hour;
    if (!setSystemZone("Etc/GMT-9")) _exit(2);
    std::this_thread::sleep_for(std::chrono::milliseconds(1010));
    _exit((clock.now().hour - before + 24) % 24 == 8 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the zone could not be set";
}

// The timer tells a jump when the zone file is replaced, as a desktop does, and when the clock is
// set; not when another file changes; gone, it leaves nothing open. /etc is a folder of the
// test's own, in a mount namespace of its own.
TEST(WallClockTimer, TellsANewZoneAndASetClockAsJumps) {
  const int descriptors = openDescriptors();
  { const WallClockTimer unused; }
  EXPECT_EQ(openDescriptors(), descriptors);
  for (const std::string& why :
       {privileges::whyNoPrivateMounts(),
        privileges::whyNot("to set the wall clock", privileges::setTheWallClock)}) {
    if (!why.empty()) GTEST_SKIP() << why;
  }
  const TempFolder etc("lurvendel-etc");
  const pid_t child = fork();
  if (child == 0) {
    if (!privileges::enterPrivateMounts() ||
        mount(etc.path().c_str(), "/etc", nullptr, MS_BIND, nullptr)) {
      _exit(2);
    }
    WallClockTimer timer;
    // What woke it within 300 ms, the next second included.
    const auto wake = [&] {
      std::array<pollfd, 2> fds{};
      for (size_t i = 0; i < fds.size(); ++i) fds[i] = {timer.descriptors()[i], POLLIN, 0};
      poll(fds.data(), fds.size(), 300);
      return timer.wake();
    };
    timer.armForNextSecond();
    std::ofstream("/etc/hosts") << "127.0.0.1 localhost\n";
    const bool otherFile = wake() == WallClockTimer::Wake::jump;
    timer.armForNextSecond();
    const bool newZone = symlink("/usr/share/zoneinfo/Etc/GMT-9", "/etc/localtime.new") == 0 &&
                         std::rename("/etc/localtime.new", "/etc/localtime") == 0 &&
                         wake() == WallClockTimer::Wake::jump;
    timer.armForNextSecond();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    clock_settime(CLOCK_REALTIME, &now);
    const bool clockSet = wake() == WallClockTimer::Wake::jump;
    _exit(!otherFile && newZone && clockSet ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no /etc of its own";
}
