#pragma once

#include <string>

#include "platform/win32/win32_call_gate.h"
#include "platform/win32/windows_headers.h"

class TextBox;

// Forwards a text box's clicks, typed characters and edits to its control. Typed characters pass
// the control's key handler, which may drop them; keys that type nothing (Delete, the arrows,
// Home, End, Tab) keep working. Text that arrives without a typed key (paste, an input method, a
// message of another program) gets in only as far as each of its characters would, typed, and
// only up to the box's length.
class Win32EntryInput {
 public:
  Win32EntryInput(HWND edit, TextBox& box, Win32CallGate& gate);
  ~Win32EntryInput();
  Win32EntryInput(const Win32EntryInput&) = delete;
  Win32EntryInput& operator=(const Win32EntryInput&) = delete;

  // The model's text, shown.
  void showText();
  // The edit's text changed (EN_CHANGE), however it came.
  void textChanged();

 private:
  static LRESULT CALLBACK subclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR self);
  std::wstring text() const;
  void setText(const std::wstring& text);
  void narrowMargins();

  HWND edit_;
  TextBox& box_;
  Win32CallGate& gate_;
  std::wstring before_;  // the text before the change being looked at
  bool settingText_ = false;
};
