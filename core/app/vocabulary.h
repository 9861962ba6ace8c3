#pragma once

#include <cstdint>

// The names that the window model, the platforms and the tests share.

// Clip ids of the recordings. A number word's id is its value (1 to 20, 30, 40, 50).
namespace clip {
inline constexpr std::int16_t hourZero = 97;           // "null", before "Uhr"
inline constexpr std::int16_t hourOne = 98;            // "ein", before "Uhr"
inline constexpr std::int16_t link = 99;               // "und", before the seconds
inline constexpr std::int16_t compoundUnitBase = 100;  // + 1..9: "einund" .. "neunund"
inline constexpr std::int16_t hourWord = 200;          // "Uhr"
inline constexpr std::int16_t opening = 300;           // "Es ist"
inline constexpr std::int16_t alarmSignal = 400;
inline constexpr std::int16_t announcementSignal = 500;
inline constexpr std::int16_t seconds = 600;    // "Sekunden"
inline constexpr std::int16_t oneSecond = 610;  // "Sekunde"
inline constexpr std::int16_t secondOne = 700;  // "eine", before "Sekunde"
}  // namespace clip

// The mouse codes of the notification icon that act: a button released over it.
namespace iconMouse {
inline constexpr std::int32_t leftButtonUp = 514;
inline constexpr std::int32_t rightButtonUp = 517;
}  // namespace iconMouse

// The icon's tip while no alarm is armed.
inline constexpr const char* titleTip = "Hessamo's Lurvendel";
