#pragma once

#include <cstdint>
#include <string>

#include "core/ports/clock.h"

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
