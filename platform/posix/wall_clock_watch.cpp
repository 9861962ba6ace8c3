#include "platform/posix/wall_clock_watch.h"

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

WallClockWatch::WallClockWatch()
    : clockSet_(timerfd_create(CLOCK_REALTIME, TFD_CLOEXEC | TFD_NONBLOCK)),
      zoneFolder_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
  armClockSet();
  if (zoneFolder_ >= 0 &&
      inotify_add_watch(zoneFolder_, "/etc",
                        IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_CLOSE_WRITE | IN_ATTRIB) < 0) {
    close(zoneFolder_);
    zoneFolder_ = -1;
  }
}

WallClockWatch::~WallClockWatch() {
  if (clockSet_ >= 0) close(clockSet_);
  if (zoneFolder_ >= 0) close(zoneFolder_);
}

// A timer on the wall clock that never expires, but is cancelled whenever the clock is set.
void WallClockWatch::armClockSet() {
  if (clockSet_ < 0) return;
  itimerspec never{};
  never.it_value.tv_sec = INT32_MAX;
  timerfd_settime(clockSet_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr);
}

bool WallClockWatch::jumped() {
  bool jumped = false;
  std::uint64_t expirations = 0;
  if (clockSet_ >= 0 && read(clockSet_, &expirations, sizeof expirations) < 0 &&
      errno == ECANCELED) {
    jumped = true;
    armClockSet();
  }
  alignas(inotify_event) char events[4096];
  ssize_t length = 0;
  while (zoneFolder_ >= 0 && (length = read(zoneFolder_, events, sizeof events)) > 0) {
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(events + at);
      if (event->len > 0 && namesTheZone(event->name)) jumped = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return jumped;
}
