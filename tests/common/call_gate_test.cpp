#include "platform/common/call_gate.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/test_gate.h"

// A click that comes while a clip plays waits for the pump point after it; there it runs before
// what the loop has taken in since, which runs there too, not one clip later.
TEST(CallGate, APumpPointRunsWhatWaitedBehindTheClipThenWhatTheLoopHolds) {
  TestGate gate;
  std::vector<std::string> ran;
  const auto click = [&](const char* name) {
    return [&, name] { gate.deliver([&, name] { ran.emplace_back(name); }); };
  };
  gate.deliver([&] {
    gate.pending = click("during the clip");
    gate.whileClipPlays();
    EXPECT_TRUE(ran.empty());
    gate.pending = click("after the clip");
    gate.processPendingEvents();
  });
  EXPECT_EQ(ran, (std::vector<std::string>{"during the clip", "after the clip"}));
}
