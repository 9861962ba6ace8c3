#pragma once

#include <cstdint>
#include <string>

// A reading of the local wall clock, already broken down; the clock port delivers it.
struct LocalDateTime {
  int year = 2000;
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int weekday = 6;  // 0 = Sunday .. 6 = Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// "HH:MM:SS", 24-hour and zero-padded whatever the locale: handlers read the slices back as
// numbers.
std::string timeText(const LocalDateTime& t);

// Slices of timeText: hour, minute and second as two characters each.
std::string hourText(const LocalDateTime& t);
std::string minuteText(const LocalDateTime& t);
std::string secondText(const LocalDateTime& t);

// "Montag, 07.12.2026": German weekday name, ", ", date as dd.mm.yyyy.
std::string dateLine(const LocalDateTime& t);

// Seconds since midnight.
int secondOfDay(const LocalDateTime& t);

// Seconds on the local calendar since 1970-01-01 00:00, so that moments of different days compare.
std::int64_t localSeconds(const LocalDateTime& t);
