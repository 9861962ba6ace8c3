#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/app/vocabulary.h"

// What a listener hears, as German text: the clips' words, and independently of the program's
// number rule, the words a time of day must be spoken with.
namespace spoken {

inline const std::array<const char*, 20> ones = {
    "",         "eins",     "zwei",     "drei",     "vier",     "fünf",    "sechs",
    "sieben",   "acht",     "neun",     "zehn",     "elf",      "zwölf",   "dreizehn",
    "vierzehn", "fünfzehn", "sechzehn", "siebzehn", "achtzehn", "neunzehn"};
inline const std::array<const char*, 6> tens = {"", "", "zwanzig", "dreißig", "vierzig", "fünfzig"};

// A number from 1 to 59 as a word: "einundzwanzig" puts the unit first.
inline std::string number(int n) {
  if (n < 20) return ones[n];
  const std::string unit = n % 10 == 1 ? "ein" : n % 10 ? ones[n % 10] : "";
  return (unit.empty() ? "" : unit + "und") + tens[n / 10];
}

// "Es ist dreizehn Uhr einundzwanzig und fünf Sekunden" for 13:21:05; the hour alone for the
// full hour; the seconds only when there are any.
inline std::string time(int h, int m, int s, bool hourOnly = false) {
  std::string text = h == 0 ? "null" : h == 1 ? "ein" : number(h);
  text += " Uhr";
  if (hourOnly) return text;
  if (m != 0) text += " " + number(m);
  if (s == 1) return text + " und eine Sekunde";
  if (s != 0) text += " und " + number(s) + " Sekunden";
  return text;
}

// The words of clips as they are heard one after the other.
inline std::string words(const std::vector<std::int16_t>& clips) {
  static const std::map<std::int16_t, std::string> special = {
      {clip::hourZero, "null"},     {clip::hourOne, "ein"},
      {clip::link, "und"},          {clip::hourWord, "Uhr"},
      {clip::opening, "Es ist"},    {clip::alarmSignal, "[Alarm]"},
      {clip::seconds, "Sekunden"},  {clip::announcementSignal, "[Gong]"},
      {clip::oneSecond, "Sekunde"}, {clip::secondOne, "eine"}};
  std::string text;
  bool joined = false;  // after a unit that opens a compound number
  for (const std::int16_t id : clips) {
    std::string word;
    if (special.count(id)) {
      word = special.at(id);
    } else if (id > clip::compoundUnitBase && id < clip::compoundUnitBase + 10) {
      word = number(id - clip::compoundUnitBase) + "und";
      if (word == "einsund") word = "einund";
    } else {
      word = number(id);
    }
    text += (text.empty() || joined ? "" : " ") + word;
    joined = id > clip::compoundUnitBase && id < clip::compoundUnitBase + 10;
  }
  return text;
}

}  // namespace spoken
