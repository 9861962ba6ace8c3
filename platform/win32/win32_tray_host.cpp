#include "platform/win32/win32_tray_host.h"

#include <algorithm>
#include <string>

#include "core/app/vocabulary.h"
#include "core/ports/tray_data.h"

Win32TrayHost::Win32TrayHost(HWND window, HICON icon) {
  data_.cbSize = sizeof data_;
  data_.hWnd = window;
  data_.uID = TrayData::iconId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon;
}

Win32TrayHost::~Win32TrayHost() {
  if (shown_) Shell_NotifyIconW(NIM_DELETE, &data_);
}

void Win32TrayHost::notifyIcon(Message message, const Record& record) {
  if (message == Message::remove) {
    Shell_NotifyIconW(NIM_DELETE, &data_);
    shown_ = false;
    return;
  }
  if (shown_) return;
  // The record's tip is 8-bit text, Latin-1 as the Linux clock reads it too.
  const std::string tip = tipOfRecord(record);
  std::fill(std::begin(data_.szTip), std::end(data_.szTip), L'\0');
  std::transform(tip.begin(), tip.begin() + std::min(tip.size(), std::size(data_.szTip) - 1),
                 data_.szTip, [](char c) { return static_cast<unsigned char>(c); });
  shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

void Win32TrayHost::addAgain() {
  if (shown_) shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

std::optional<int> Win32TrayHost::actingMouseCode(LPARAM lParam) {
  switch (LOWORD(lParam)) {
    case WM_LBUTTONUP:
      return iconMouse::leftButtonUp;
    case WM_RBUTTONUP:
      return iconMouse::rightButtonUp;
    default:
      return std::nullopt;
  }
}
