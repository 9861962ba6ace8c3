#include "platform/win32/win32_tray_host.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/app/vocabulary.h"
#include "core/ports/tray_data.h"
#include "platform/win32/debug_lines.h"

namespace {

// A handle as a 32-bit field holds it: Windows keeps window and icon handles within 32 bits, and
// widens them with their sign.
template <typename Handle>
Handle handleOf(std::uint32_t field) {
  return reinterpret_cast<Handle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(field)));
}

// The record is the first version's, with 8-bit text: the first version's in UTF-16 here, its tip
// read as Latin-1, as the Linux clock reads it too.
NOTIFYICONDATAW fromRecord(const TrayHost::Record& record) {
  const TrayData fields = TrayData::fromBytes(record);
  NOTIFYICONDATAW data{};
  data.cbSize = fields.cbSize == TrayData::recordSize ? NOTIFYICONDATAW_V1_SIZE : 0;
  data.hWnd = handleOf<HWND>(fields.hWnd);
  data.uID = fields.uID;
  data.uFlags = fields.uFlags;
  data.uCallbackMessage = fields.uCallbackMessage;
  data.hIcon = handleOf<HICON>(fields.hIcon);
  const std::string tip = fields.tip();
  std::transform(tip.begin(), tip.begin() + std::min(tip.size(), std::size(data.szTip) - 1),
                 data.szTip, [](char c) { return static_cast<unsigned char>(c); });
  return data;
}

// A mouse move of the window's own comes from the input queue, at the point the pointer was then;
// the icon's comes from the shell while the pointer is over the icon.
bool whereThePointerWas(HWND window, LPARAM lParam) {
  const DWORD at = GetMessagePos();
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ScreenToClient(window, &point);
  return point.x == static_cast<short>(LOWORD(lParam)) &&
         point.y == static_cast<short>(HIWORD(lParam));
}

}  // namespace

Win32TrayHost::~Win32TrayHost() {
  removeShownIcon();
}

void Win32TrayHost::notifyIcon(Message message, const Record& record) {
  if (message == Message::remove) {
    NOTIFYICONDATAW named = fromRecord(record);
    Shell_NotifyIconW(NIM_DELETE, &named);
    shown_ = false;
    return;
  }
  if (shown_) return;
  data_ = fromRecord(record);
  shown_ = add();
}

void Win32TrayHost::addAgain() {
  if (shown_) shown_ = add();
}

void Win32TrayHost::removeShownIcon() {
  if (shown_) Shell_NotifyIconW(NIM_DELETE, &data_);
  shown_ = false;
}

bool Win32TrayHost::add() {
  if (Shell_NotifyIconW(NIM_ADD, &data_)) return true;
  reportFailure("kein Symbol im Infobereich", "Shell_NotifyIconW", 0);
  return false;
}

bool Win32TrayHost::isIconMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!shown_ || message != data_.uCallbackMessage || wParam != data_.uID || HIWORD(lParam) != 0) {
    return false;
  }
  return message != WM_MOUSEMOVE || !whereThePointerWas(data_.hWnd, lParam);
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
