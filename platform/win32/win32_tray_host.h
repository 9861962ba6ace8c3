#pragma once

#include <optional>

#include "core/ports/tray_host.h"
#include "platform/win32/windows_headers.h"

// The notification area through Shell_NotifyIconW, one icon at a time as the record's id allows.
// Its mouse events come back to the window as callbackMessage.
class Win32TrayHost : public TrayHost {
 public:
  static constexpr UINT callbackMessage = WM_APP + 1;

  Win32TrayHost(HWND window, HICON icon);
  ~Win32TrayHost() override;
  Win32TrayHost(const Win32TrayHost&) = delete;
  Win32TrayHost& operator=(const Win32TrayHost&) = delete;

  void notifyIcon(Message message, const Record& record) override;
  bool iconShown() const override { return shown_; }
  // The notification area was made anew (Explorer restarted): an icon that stood stands again.
  void addAgain();
  // The mouse code that acts (iconMouse) of a callback message's lParam, if it is one.
  static std::optional<int> actingMouseCode(LPARAM lParam);

 private:
  NOTIFYICONDATAW data_{};
  bool shown_ = false;
};
