#include <gtest/gtest.h>
#include <string>

#include "platform/win32/win32_clock_contact.h"

namespace {

std::optional<std::string_view> commandOf(const std::string& data, ULONGLONG now,
                                          ULONG_PTR tag = commandMessage::tag) {
  COPYDATASTRUCT message{tag, static_cast<DWORD>(data.size()), const_cast<char*>(data.data())};
  return commandIn(message, now);
}

}  // namespace

// A clock that comes to a command only after its caller stopped waiting (the clock was stopped or
// starved) leaves it: that caller told its user the clock did not answer. Only the known commands
// count, in this layout.
TEST(Win32ClockContact, ACommandCountsOnlyWhileItsCallerStillWaits) {
  const std::string sprich = commandMessage::dataFor("sprich", 10'000);
  EXPECT_EQ(commandOf(sprich, 9'499), "sprich");
  EXPECT_EQ(commandOf(sprich, 9'500), std::nullopt) << "its answer could come too late";
  EXPECT_EQ(commandOf(sprich, 20'000), std::nullopt);
  EXPECT_EQ(commandOf(commandMessage::dataFor("beenden", 10'000), 0), "beenden");
  EXPECT_EQ(commandOf(sprich, 0, 0x4C55'5256), std::nullopt) << "an older caller's layout";
  EXPECT_EQ(commandOf(commandMessage::dataFor("formatieren", 10'000), 0), std::nullopt);
  EXPECT_EQ(commandOf("sprich", 0), std::nullopt);
}
