#include "core/app/local_time.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace {

std::string twoDigits(int value) {
  return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::string timeText(const LocalDateTime& t) {
  return twoDigits(t.hour) + ':' + twoDigits(t.minute) + ':' + twoDigits(t.second);
}

std::string hourText(const LocalDateTime& t) {
  return twoDigits(t.hour);
}
std::string minuteText(const LocalDateTime& t) {
  return twoDigits(t.minute);
}
std::string secondText(const LocalDateTime& t) {
  return twoDigits(t.second);
}

std::string dateLine(const LocalDateTime& t) {
  static constexpr std::array<const char*, 7> weekdayNames = {
      "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Sonnabend"};
  char date[16];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d", t.day % 100, t.month % 100, t.year % 10000);
  return std::string(weekdayNames.at(static_cast<size_t>(t.weekday))) + ", " + date;
}

int secondOfDay(const LocalDateTime& t) {
  return (t.hour * 60 + t.minute) * 60 + t.second;
}

std::int64_t localSeconds(const LocalDateTime& t) {
  const std::chrono::sys_days date = std::chrono::year{t.year} /
                                     std::chrono::month{static_cast<unsigned>(t.month)} /
                                     std::chrono::day{static_cast<unsigned>(t.day)};
  return std::int64_t{date.time_since_epoch().count()} * 86'400 + secondOfDay(t);
}
