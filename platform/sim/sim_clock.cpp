#include "platform/sim/sim_clock.h"

#include <chrono>

namespace chr = std::chrono;

namespace {
constexpr std::int64_t msPerDay = 86'400'000;
}

void SimClock::set(int year, int month, int day, int hour, int minute, int second,
                   int millisecond) {
  const chr::sys_days date = chr::year{year} / chr::month{static_cast<unsigned>(month)} /
                             chr::day{static_cast<unsigned>(day)};
  ms_ = date.time_since_epoch().count() * msPerDay;
  setTimeOfDay(hour, minute, second, millisecond);
}

void SimClock::setTimeOfDay(int hour, int minute, int second, int millisecond) {
  ms_ = ms_ - ms_ % msPerDay + ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
}

void SimClock::advanceTo(std::int64_t ms) {
  if (ms > ms_) ms_ = ms;
}

LocalDateTime SimClock::now() const {
  const std::int64_t readAt = ms_;
  ms_ += advancePerRead;
  const chr::sys_days date{chr::days{readAt / msPerDay}};
  const chr::year_month_day ymd{date};
  const std::int64_t ofDay = readAt % msPerDay;
  return {.year = static_cast<int>(ymd.year()),
          .month = static_cast<int>(static_cast<unsigned>(ymd.month())),
          .day = static_cast<int>(static_cast<unsigned>(ymd.day())),
          .weekday = static_cast<int>(chr::weekday{date}.c_encoding()),
          .hour = static_cast<int>(ofDay / 3'600'000),
          .minute = static_cast<int>(ofDay / 60'000 % 60),
          .second = static_cast<int>(ofDay / 1000 % 60),
          .millisecond = static_cast<int>(ofDay % 1000)};
}
