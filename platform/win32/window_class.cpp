#include "platform/win32/window_class.h"

#include <set>
#include <string>

#include "platform/win32/debug_lines.h"

HICON programIcon(int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_SHARED));
}

void registerWindowClass(const wchar_t* name, WNDPROC procedure, std::string_view missing,
                         const WindowClassLook& look) {
  static std::set<std::wstring> registered;
  if (!registered.insert(name).second) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = look.icon;
  windowClass.hIconSm = look.smallIcon;
  windowClass.hCursor = look.cursor;
  windowClass.hbrBackground = look.background;
  windowClass.lpszClassName = name;
  if (!RegisterClassExW(&windowClass)) reportFailure(missing, "RegisterClassExW", GetLastError());
}
