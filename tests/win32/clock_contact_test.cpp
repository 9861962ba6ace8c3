#include <gtest/gtest.h>

#include "platform/win32/win32_clock_contact.h"

// A clock that comes to a command only after its caller stopped waiting (the clock was stopped or
// starved) leaves it; so it does just before, when the answer might come too late. Ticks wrap;
// an older caller says nothing of its waiting, and its command counts.
TEST(Win32ClockContact, ACommandCountsOnlyWhileItsCallerStillWaits) {
  using commandMessage::callerWaits;
  EXPECT_TRUE(callerWaits(10'000, 9'499));
  EXPECT_FALSE(callerWaits(10'000, 9'500));
  EXPECT_FALSE(callerWaits(10'000, 20'000));
  EXPECT_TRUE(callerWaits(1'000, 0xFFFF'F000));
  EXPECT_FALSE(callerWaits(0xFFFF'F000, 1'000));
  EXPECT_TRUE(callerWaits(0, 20'000));
}
