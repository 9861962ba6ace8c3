#include "platform/win32/message_window.h"

#include <utility>

#include "platform/win32/debug_lines.h"
#include "platform/win32/window_class.h"

namespace {

constexpr const wchar_t* className = L"Lurvendel.Nachrichten";

}  // namespace

MessageWindow::MessageWindow(Handler handler) : handler_(std::move(handler)) {
  registerWindowClass(className, DefWindowProcW, "keine Zeitgeber");
  window_ = CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) reportFailure("keine Zeitgeber", "CreateWindowExW", GetLastError());
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageWindow::procedure));
}

// No message reaches the handler once its object is on the way out.
MessageWindow::~MessageWindow() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

LRESULT CALLBACK MessageWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self) self->handler_(message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}
