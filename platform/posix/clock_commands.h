#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ClockClaim;

// What another process of the same user may ask of the running clock, one command a connection,
// as one short line on the clock's command socket. The clock answers with one line: taken, or too
// busy to take it.
namespace clockCommand {
inline constexpr std::string_view speak = "sprich";
inline constexpr std::string_view show = "anzeigen";
inline constexpr std::size_t longest = 16;  // a longer line is no command
inline constexpr std::string_view taken = "ok";
inline constexpr std::string_view busy = "belegt";
}  // namespace clockCommand

enum class ClockAnswer { taken, busy, silent, noClock };

// Hands a command to a clock of this user's that listens at the first of the addresses where one
// does, and waits a few seconds at most for its answer.
ClockAnswer askRunningClock(std::string_view command, const std::vector<std::string>& addresses);

// Whether a clock of this user's listens at one of the addresses.
bool clockListens(const std::vector<std::string>& addresses);

// The commands carried out one after the other by the running clock of this user's: the exit
// status, 0 when it took them all, else 1 after one line on stderr that says why. Nothing when no
// clock runs and the claim was had: this process is to be the clock. A clock that is just starting
// or ending holds its place without listening; it is given a few seconds to do either.
std::optional<int> handOverToRunningClock(const std::vector<std::string_view>& commands,
                                          ClockClaim& claim);
