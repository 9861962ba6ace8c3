#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Where a number stands in a spoken time; zero and one take different words in each place.
enum class NumberUse { hour, minute, second };

// The clips that speak a value from 0 to 59 in German: the unit before the tens ("einund|
// zwanzig"), "null"/"ein" for the hour, nothing for zero minutes, "eine" for one second.
std::vector<std::int16_t> numberClips(int value, NumberUse use);

// A display's caption as a whole number, if it is one (the displays hold two digits).
std::optional<int> numberIn(std::string_view caption);
