#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr int secondsPerDay = 86'400;

// An alarm entry as the alarm accepts it: exactly "HH:MM:SS", every field in range.
std::optional<int> strictTimeOfDay(std::string_view text);

// An entry as the step buttons read it: "H:M", "HH:MM", "HH:MM:SS" and the like, one or two
// digits per field, every field in range.
std::optional<int> looseTimeOfDay(std::string_view text);

// "HH:MM:SS" of seconds since midnight, taken modulo a day.
std::string timeOfDayText(int seconds);
