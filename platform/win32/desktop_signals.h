#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/common/clock_requests.h"
#include "platform/win32/win32_tray_host.h"
#include "platform/win32/windows_headers.h"

// What the desktop tells the clock's window besides the user's input to it: the wall clock set, the
// time zone changed, a wake from sleep; the session ending; a command of another process of the
// user's (WM_COPYDATA); the notification area made anew, and the icon's mouse messages.
class DesktopSignals {
 public:
  struct Listeners {
    // The wall clock was set, the time zone changed, or the machine woke from sleep.
    std::function<void()> clockJumped;
    // Another process of the user's asks (clockCommand).
    std::function<ClockAnswer(std::string_view command)> command;
    // A click on the icon that acts (iconMouse).
    std::function<void(int mouseCode)> iconClicked;
    // Why the session should not end now (an alarm is armed); "" when nothing holds it.
    std::function<std::string()> sessionHeldBecause;
    // The session ends: the clock goes at once, no question holding it up.
    std::function<void()> sessionEnds;
  };

  DesktopSignals(Win32TrayHost& tray, Listeners listeners);

  // The answer to a message to the window that is a signal of the desktop's and is taken here;
  // none for any other message, which the window handles as usual.
  std::optional<LRESULT> take(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  Win32TrayHost& tray_;
  Listeners listeners_;
  UINT taskbarCreated_;
};
