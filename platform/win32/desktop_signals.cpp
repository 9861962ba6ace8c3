#include "platform/win32/desktop_signals.h"

#include <utility>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock_contact.h"

DesktopSignals::DesktopSignals(Win32TrayHost& tray, Listeners listeners)
    : tray_(tray),
      listeners_(std::move(listeners)),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}

std::optional<LRESULT> DesktopSignals::take(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (tray_.isIconMessage(message, wParam, lParam)) {
    if (const auto code = Win32TrayHost::actingMouseCode(lParam)) listeners_.iconClicked(*code);
    return 0;
  }
  // Explorer started anew: its notification area has no icons of its own.
  if (message == taskbarCreated_) tray_.addAgain();
  switch (message) {
    // A new system time, possibly a new time zone, a wake from sleep: the displays catch up now.
    case WM_TIMECHANGE:
    case WM_SETTINGCHANGE:
      listeners_.clockJumped();
      return std::nullopt;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC) listeners_.clockJumped();
      return TRUE;
    // An armed alarm asks before it is lost, as every close does: Windows shows why, and the user
    // may end the session all the same.
    case WM_QUERYENDSESSION:
      if (const std::string reason = listeners_.sessionHeldBecause(); !reason.empty()) {
        ShutdownBlockReasonCreate(window, widen(reason).c_str());
        return FALSE;
      }
      ShutdownBlockReasonDestroy(window);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) listeners_.sessionEnds();
      return 0;
    case WM_COPYDATA:
      if (const auto command = commandIn(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
          command && commandMessage::callerWaits(wParam, GetTickCount())) {
        return commandMessage::resultOf(listeners_.command(*command));
      }
      return 0;
    default:
      return std::nullopt;
  }
}
