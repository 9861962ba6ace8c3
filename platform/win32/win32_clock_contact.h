#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/common/clock_requests.h"
#include "platform/win32/windows_headers.h"

class Win32InstanceLock;

// A caller finds the clock of its session by its window's class and hands it a command as
// WM_COPYDATA; the window's answer is the message's result. A clock that quits answers nothing.
inline constexpr const wchar_t* clockWindowClass = L"Lurvendel.Uhr";
namespace commandMessage {
inline constexpr ULONG_PTR tag = 0x4C55'5256;  // marks the data as a command

// The message's result that answers, and the answer a result means.
LRESULT resultOf(ClockAnswer answer);
ClockAnswer answerOf(LRESULT result);
// A caller gives, as the message's wParam, the moment (GetTickCount) until which it waits for
// the answer; older callers give 0. A clock that comes to a command after that leaves it: its
// caller already told the user that the clock did not answer. The command stays in its place,
// and older clocks, which read no wParam, still understand it.
bool callerWaits(WPARAM waitsUntil, DWORD now);
}  // namespace commandMessage

// The command a WM_COPYDATA carries, if it carries one.
std::optional<std::string_view> commandIn(const COPYDATASTRUCT& data);

// The running clock as a caller finds it: the clock window of this user's in the session.
class Win32ClockContact : public ClockContact {
 public:
  explicit Win32ClockContact(Win32InstanceLock& claim) : claim_(claim) {}

  bool clockAnswers() override;
  ClaimOutcome claim() override;
  ClockAnswer ask(std::string_view command) override;
  void complain(const std::string& line) override;

 private:
  Win32InstanceLock& claim_;
  HWND clock_ = nullptr;
};
