#pragma once

#include <functional>

#include "platform/win32/windows_headers.h"

// A hidden window that only takes messages: timers and calls posted to it are dispatched by every
// message loop, a popup menu's or a message box's included, which a thread's own messages are not.
class MessageWindow {
 public:
  using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

  explicit MessageWindow(Handler handler);
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND handle() const { return window_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  HWND window_;
};
