#include "platform/posix/posix_clock.h"

LocalDateTime PosixClock::now() const {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  if (now.tv_sec != cachedSecond_) {
    // localtime_r reads the zone once per process. tzset() looks at /etc/localtime again (one
    // stat, a new read only when it changed), so the clock follows a zone the user picks or
    // travels to within a second. With TZ set, the zone stays the one it names.
    tzset();
    localtime_r(&now.tv_sec, &cachedLocal_);
    cachedSecond_ = now.tv_sec;
  }
  const tm& local = cachedLocal_;
  return {.year = local.tm_year + 1900,
          .month = local.tm_mon + 1,
          .day = local.tm_mday,
          .weekday = local.tm_wday,
          .hour = local.tm_hour,
          .minute = local.tm_min,
          .second = local.tm_sec,
          .millisecond = static_cast<int>(now.tv_nsec / 1000000)};
}
