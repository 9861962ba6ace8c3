#include "platform/win32/win32_clock_contact.h"

#include <cstdint>
#include <string>

#include "platform/win32/console_output.h"
#include "platform/win32/user_identity.h"
#include "platform/win32/win32_instance_lock.h"

namespace {

// A clock answers from its message loop, which runs also while it speaks.
constexpr UINT answerWithinMs = 5000;
// A command the clock comes to this close to its caller's end of waiting is left: the answer
// might reach the caller too late.
constexpr DWORD answerTakesMs = 500;

// The clock window of this user's, of the windows of the session; none where there is none.
HWND runningClock() {
  for (HWND window = nullptr;
       (window = FindWindowExW(nullptr, window, clockWindowClass, nullptr)) != nullptr;) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (processIsThisUser(process)) return window;
  }
  return nullptr;
}

ClockAnswer askClock(HWND clock, std::string_view command) {
  COPYDATASTRUCT data{commandMessage::tag, static_cast<DWORD>(command.size()),
                      const_cast<char*>(command.data())};
  DWORD_PTR answer = 0;
  // The clock may come to the front on "anzeigen": this process has the user's last input.
  DWORD process = 0;
  GetWindowThreadProcessId(clock, &process);
  AllowSetForegroundWindow(process);
  if (!SendMessageTimeoutW(clock, WM_COPYDATA, GetTickCount() + answerWithinMs,
                           reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, answerWithinMs,
                           &answer)) {
    return ClockAnswer::silent;
  }
  return commandMessage::answerOf(static_cast<LRESULT>(answer));
}

}  // namespace

LRESULT commandMessage::resultOf(ClockAnswer answer) {
  return answer == ClockAnswer::taken ? 1 : answer == ClockAnswer::kept ? 3 : 2;
}

ClockAnswer commandMessage::answerOf(LRESULT result) {
  for (const ClockAnswer answer : {ClockAnswer::taken, ClockAnswer::busy, ClockAnswer::kept}) {
    if (result == resultOf(answer)) return answer;
  }
  return ClockAnswer::silent;
}

// Ticks wrap after 49.7 days: the time left is their difference, taken as signed.
bool commandMessage::callerWaits(WPARAM waitsUntil, DWORD now) {
  if (waitsUntil == 0) return true;
  const auto left = static_cast<std::int32_t>(static_cast<DWORD>(waitsUntil) - now);
  return left > static_cast<std::int32_t>(answerTakesMs);
}

std::optional<std::string_view> commandIn(const COPYDATASTRUCT& data) {
  if (data.dwData != commandMessage::tag || !data.lpData) return std::nullopt;
  const std::string_view command(static_cast<const char*>(data.lpData), data.cbData);
  if (command != clockCommand::speak && command != clockCommand::show &&
      !clockCommand::isQuit(command)) {
    return std::nullopt;
  }
  return command;
}

bool Win32ClockContact::clockAnswers() {
  clock_ = runningClock();
  return clock_ != nullptr;
}

ClaimOutcome Win32ClockContact::claim() {
  return claim_.claim();
}

ClockAnswer Win32ClockContact::ask(std::string_view command) {
  return clockAnswers() ? askClock(clock_, command) : ClockAnswer::noClock;
}

void Win32ClockContact::complain(const std::string& line) {
  tellStarter(StandardStream::error, line);
}
