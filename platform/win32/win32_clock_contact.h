#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/clock_requests.h"
#include "platform/win32/windows_headers.h"

class Win32InstanceLock;

// A caller finds the clock of its session by its window's class and hands it a command as
// WM_COPYDATA; the window's answer is the message's result. A clock that quits answers nothing.
inline constexpr const wchar_t* clockWindowClass = L"Lurvendel.Uhr";
namespace commandMessage {
inline constexpr ULONG_PTR tag = 0x4C55'5257;  // marks the data as a command, in this layout

// What a caller hands over: the moment (GetTickCount64) until which it waits for the answer, then
// the command.
std::string dataFor(std::string_view command, ULONGLONG waitsUntil);
// The message's result that answers, and the answer a result means.
LRESULT resultOf(ClockAnswer answer);
ClockAnswer answerOf(LRESULT result);
}  // namespace commandMessage

// The command a WM_COPYDATA carries, if it carries one whose caller still waits at `now`: a
// caller that gave up told its user that the clock did not answer, so the command is not carried
// out any more.
std::optional<std::string_view> commandIn(const COPYDATASTRUCT& data, ULONGLONG now);

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
