#include "app/local_time.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_clock.h"

TEST(LocalTime, TimeTextIsZeroPadded24Hour) {
  SimClock clock;
  clock.set(2026, 12, 7, 7, 5, 9, 999);
  EXPECT_EQ(timeText(clock.now()), "07:05:09");
  clock.setTimeOfDay(23, 59, 59);
  EXPECT_EQ(timeText(clock.now()), "23:59:59");
  clock.setTimeOfDay(0, 1, 2);
  const LocalDateTime t = clock.now();
  EXPECT_EQ(hourText(t) + minuteText(t) + secondText(t), "000102");
}

TEST(LocalTime, DateLineUsesGermanWeekdaysWithSundayFirst) {
  SimClock clock;
  clock.set(2026, 12, 5, 12, 0, 0);
  EXPECT_EQ(dateLine(clock.now()), "Sonnabend, 05.12.2026");
  clock.set(2026, 12, 6, 12, 0, 0);
  EXPECT_EQ(dateLine(clock.now()), "Sonntag, 06.12.2026");
  clock.set(2026, 12, 7, 0, 0, 0);
  EXPECT_EQ(dateLine(clock.now()), "Montag, 07.12.2026");
  clock.set(2027, 1, 1, 0, 0, 0);
  EXPECT_EQ(dateLine(clock.now()), "Freitag, 01.01.2027");
}
