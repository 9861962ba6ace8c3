#include "platform/win32/win32_clock_contact.h"

#include <cstring>
#include <string>

#include "platform/win32/console_output.h"
#include "platform/win32/user_identity.h"
#include "platform/win32/win32_instance_lock.h"

namespace {

// A clock answers from its message loop, which runs also while it speaks.
constexpr UINT answerWithinMs = 5000;
// A command the clock comes to this close to its caller's end of waiting is left: its answer
// might come too late for the caller.
constexpr ULONGLONG answerTakesMs = 500;

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
  std::string sent = commandMessage::dataFor(command, GetTickCount64() + answerWithinMs);
  COPYDATASTRUCT data{commandMessage::tag, static_cast<DWORD>(sent.size()), sent.data()};
  DWORD_PTR answer = 0;
  // The clock may come to the front on "anzeigen": this process has the user's last input.
  DWORD process = 0;
  GetWindowThreadProcessId(clock, &process);
  AllowSetForegroundWindow(process);
  if (!SendMessageTimeoutW(clock, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                           answerWithinMs, &answer)) {
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

std::string commandMessage::dataFor(std::string_view command, ULONGLONG waitsUntil) {
  std::string data(sizeof waitsUntil, '\0');
  std::memcpy(data.data(), &waitsUntil, sizeof waitsUntil);
  return data.append(command);
}

std::optional<std::string_view> commandIn(const COPYDATASTRUCT& data, ULONGLONG now) {
  ULONGLONG waitsUntil = 0;
  if (data.dwData != commandMessage::tag || !data.lpData || data.cbData < sizeof waitsUntil) {
    return std::nullopt;
  }
  std::memcpy(&waitsUntil, data.lpData, sizeof waitsUntil);
  if (now + answerTakesMs >= waitsUntil) return std::nullopt;
  const std::string_view command(static_cast<const char*>(data.lpData) + sizeof waitsUntil,
                                 data.cbData - sizeof waitsUntil);
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
