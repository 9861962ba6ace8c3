#include "core/alarm/time_of_day.h"

#include <array>
#include <cctype>
#include <vector>

#include "core/app/local_time.h"

namespace {

bool isDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::optional<int> fromFields(const std::vector<int>& fields) {
  const std::array<int, 3> limits = {24, 60, 60};
  int seconds = 0;
  for (size_t i = 0; i < 3; ++i) {
    const int value = i < fields.size() ? fields[i] : 0;
    if (value >= limits[i]) return std::nullopt;
    seconds = seconds * limits[i] + value;
  }
  return seconds;
}

}  // namespace

std::optional<int> strictTimeOfDay(std::string_view text) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
  std::vector<int> fields;
  for (size_t at : {0u, 3u, 6u}) {
    if (!isDigit(text[at]) || !isDigit(text[at + 1])) return std::nullopt;
    fields.push_back((text[at] - '0') * 10 + (text[at + 1] - '0'));
  }
  return fromFields(fields);
}

std::optional<int> looseTimeOfDay(std::string_view text) {
  std::vector<int> fields;
  size_t start = 0;
  while (true) {
    const size_t colon = text.find(':', start);
    const std::string_view field = text.substr(start, colon - start);
    if (field.empty() || field.size() > 2 || !isDigit(field.front()) || !isDigit(field.back())) {
      return std::nullopt;
    }
    fields.push_back(field.size() == 1 ? field[0] - '0' : (field[0] - '0') * 10 + (field[1] - '0'));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  if (fields.size() < 2 || fields.size() > 3) return std::nullopt;
  return fromFields(fields);
}

std::string timeOfDayText(int seconds) {
  seconds = (seconds % secondsPerDay + secondsPerDay) % secondsPerDay;
  LocalDateTime t;
  t.hour = seconds / 3600;
  t.minute = seconds / 60 % 60;
  t.second = seconds % 60;
  return timeText(t);
}
