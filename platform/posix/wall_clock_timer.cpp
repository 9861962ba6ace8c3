#include "platform/posix/wall_clock_timer.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <sys/inotify.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// The zone is /etc/localtime, which a desktop replaces (a new link moved into place) when the
// user picks another zone; Debian names it in /etc/timezone as well.
bool namesTheZone(const char* name) {
  return std::strcmp(name, "localtime") == 0 || std::strcmp(name, "timezone") == 0;
}

}  // namespace

WallClockTimer::WallClockTimer()
    : seconds_(timerfd_create(CLOCK_REALTIME, TFD_CLOEXEC | TFD_NONBLOCK)),
      zoneFolder_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
  if (zoneFolder_ &&
      inotify_add_watch(zoneFolder_.get(), "/etc",
                        IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_CLOSE_WRITE | IN_ATTRIB) < 0) {
    zoneFolder_.reset();
  }
}

// An absolute time on the wall clock, so that the kernel cancels it when the clock is set.
void WallClockTimer::armForNextSecond() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  itimerspec next{};
  next.it_value.tv_sec = now.tv_sec + 1;
  timerfd_settime(seconds_.get(), TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &next, nullptr);
}

void WallClockTimer::disarm() {
  const itimerspec never{};
  timerfd_settime(seconds_.get(), 0, &never, nullptr);
}

WallClockTimer::Wake WallClockTimer::wake() {
  Wake wake = Wake::none;
  std::uint64_t expirations = 0;
  if (read(seconds_.get(), &expirations, sizeof expirations) > 0) {
    wake = Wake::second;
  } else if (errno == ECANCELED) {
    wake = Wake::jump;
  }
  alignas(inotify_event) char events[4096];
  ssize_t length = 0;
  while (zoneFolder_ && (length = read(zoneFolder_.get(), events, sizeof events)) > 0) {
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(events + at);
      if (event->len > 0 && namesTheZone(event->name)) wake = Wake::jump;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return wake;
}
