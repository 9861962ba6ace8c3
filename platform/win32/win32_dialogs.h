#pragma once

#include "core/ports/dialogs.h"
#include "platform/win32/windows_headers.h"

// Windows' message boxes, with German buttons whatever the system's language.
class Win32Dialogs : public Dialogs {
 public:
  explicit Win32Dialogs(HWND owner) : owner_(owner) {}
  msgbox::Answer messageBox(const std::string& text, int style, const std::string& title) override;

 private:
  HWND owner_;
};
