#pragma once

#include <optional>
#include <string_view>
#include <vector>

// The command words and the answers are those of the Linux clock's socket.
#include "platform/posix/clock_commands.h"
#include "platform/win32/windows_headers.h"

class SessionClaim;

// A caller finds the clock of its session by its window's class and hands it a command as
// WM_COPYDATA; the window's answer is the message's result.
inline constexpr const wchar_t* clockWindowClass = L"Lurvendel.Uhr";
namespace commandMessage {
inline constexpr ULONG_PTR tag = 0x4C55'5256;  // marks the data as a command
inline constexpr LRESULT taken = 1;
inline constexpr LRESULT busy = 2;
}  // namespace commandMessage

// The command a WM_COPYDATA carries, if it carries one.
std::optional<std::string_view> commandIn(const COPYDATASTRUCT& data);

// The commands carried out one after the other by the running clock of this user's session: the
// exit status, 0 when it took them all, else 1 after one line on stderr that says why. Nothing
// when no clock runs and the claim was had: this process is to be the clock. A clock that is just
// starting or ending holds its claim without a window; it is given a few seconds to do either.
std::optional<int> handOverToRunningClock(const std::vector<std::string_view>& commands,
                                          SessionClaim& claim);
