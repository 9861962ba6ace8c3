#include "core/speech/number_rule.h"

#include <cctype>

#include "core/app/vocabulary.h"

std::vector<std::int16_t> numberClips(int value, NumberUse use) {
  if (value == 0) {
    if (use == NumberUse::hour) return {clip::hourZero};
    return {};
  }
  if (value == 1) {
    if (use == NumberUse::hour) return {clip::hourOne};
    if (use == NumberUse::second) return {clip::secondOne};
    return {1};
  }
  if (value < 0 || value > 59) return {};
  const int unit = value % 10;
  if (value <= 20 || unit == 0) return {static_cast<std::int16_t>(value)};
  return {static_cast<std::int16_t>(clip::compoundUnitBase + unit),
          static_cast<std::int16_t>(value - unit)};
}

std::optional<int> numberIn(std::string_view caption) {
  if (caption.empty() || caption.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : caption) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}
