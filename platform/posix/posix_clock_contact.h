#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/common/clock_requests.h"

class PosixInstanceLock;

// On Linux a command goes to the clock as one short line on its command socket, one command a
// connection; the clock answers with one line: taken, too busy to take it, or staying for its
// alarm. A clock that quits answers nothing.
namespace clockCommand {
inline constexpr std::size_t longest = 24;  // a longer line is no command
inline constexpr std::string_view taken = "ok";
inline constexpr std::string_view busy = "belegt";
inline constexpr std::string_view kept = "bleibt";

// The line that answers, and the answer a line means.
std::string_view answerLine(ClockAnswer answer);
ClockAnswer answerOf(std::string_view line);
}  // namespace clockCommand

// Hands a command to a clock of this user's that listens at the first of the addresses where one
// does, and waits a few seconds at most for its answer.
ClockAnswer askRunningClock(std::string_view command, const std::vector<std::string>& addresses);

// Whether a clock of this user's listens at one of the addresses.
bool clockListens(const std::vector<std::string>& addresses);

// The running clock as a caller finds it: at the sockets of the places the claim names.
class PosixClockContact : public ClockContact {
 public:
  explicit PosixClockContact(PosixInstanceLock& claim);

  bool clockAnswers() override { return clockListens(addresses_); }
  ClaimOutcome claim() override;
  ClockAnswer ask(std::string_view command) override {
    return askRunningClock(command, addresses_);
  }
  void complain(const std::string& line) override;

 private:
  PosixInstanceLock& claim_;
  std::vector<std::string> addresses_;
};
