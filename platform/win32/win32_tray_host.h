#pragma once

#include <optional>

#include "core/ports/tray_host.h"
#include "platform/win32/windows_headers.h"

// The notification area through Shell_NotifyIconW, handed the model's record field by field: the
// first version's size, the window, the id, the flags, the callback message, the icon and the tip.
// One icon at a time, as the record's id allows. The icon's mouse messages come back to the
// record's window as the record's callback message, the id as wParam and the mouse message as
// lParam.
class Win32TrayHost : public TrayHost {
 public:
  Win32TrayHost() = default;
  ~Win32TrayHost() override;
  Win32TrayHost(const Win32TrayHost&) = delete;
  Win32TrayHost& operator=(const Win32TrayHost&) = delete;

  void notifyIcon(Message message, const Record& record) override;
  bool iconShown() const override { return shown_; }
  // The notification area was made anew (Explorer restarted): an icon that stood stands again.
  void addAgain();
  // The icon that stands goes, as the program does.
  void removeShownIcon();
  // Whether a message to the window is the icon's, while one stands.
  bool isIconMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
  // The mouse code that acts (iconMouse) of an icon message's lParam, if it is one.
  static std::optional<int> actingMouseCode(LPARAM lParam);

 private:
  bool add();

  NOTIFYICONDATAW data_{};
  bool shown_ = false;
};
