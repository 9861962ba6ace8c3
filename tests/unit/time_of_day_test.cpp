#include "alarm/time_of_day.h"

#include <gtest/gtest.h>

TEST(TimeOfDay, TheAlarmTakesExactlyEightCharactersInRange) {
  EXPECT_EQ(strictTimeOfDay("07:05:00"), 7 * 3600 + 5 * 60);
  EXPECT_EQ(strictTimeOfDay("23:59:59"), 86399);
  EXPECT_EQ(strictTimeOfDay("00:00:00"), 0);
  for (const char* rejected : {"7:05:00", "24:00:00", "12:60:00", "12:00:60", "99:99:99",
                               "::::::::", "", "1:23:045", "07-05-00", "07:05:0a", "07:05:00 "}) {
    EXPECT_EQ(strictTimeOfDay(rejected), std::nullopt) << rejected;
  }
}

TEST(TimeOfDay, TheStepButtonsReadShortForms) {
  EXPECT_EQ(looseTimeOfDay("7:5"), 7 * 3600 + 5 * 60);
  EXPECT_EQ(looseTimeOfDay("07:30"), 7 * 3600 + 30 * 60);
  EXPECT_EQ(looseTimeOfDay("7:05:09"), 7 * 3600 + 5 * 60 + 9);
  for (const char* rejected : {"", "7", "7:", ":5", "7:5:", "123:00", "24:00", "7:60", "a:b"}) {
    EXPECT_EQ(looseTimeOfDay(rejected), std::nullopt) << rejected;
  }
}

TEST(TimeOfDay, TextWrapsAroundMidnight) {
  EXPECT_EQ(timeOfDayText(86399 + 60), "00:00:59");
  EXPECT_EQ(timeOfDayText(-1), "23:59:59");
  EXPECT_EQ(timeOfDayText(12 * 3600 + 15 * 60), "12:15:00");
}
