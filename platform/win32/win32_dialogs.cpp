#include "platform/win32/win32_dialogs.h"

#include <string_view>

#include "platform/win32/unique_handles.h"
#include "platform/win32/wide_text.h"

namespace {

thread_local UniqueHook captionHook;

// The box's buttons say what the system's language says; they are renamed as the box comes up,
// before it is drawn, with the access keys German Windows gives them.
LRESULT CALLBACK germanButtons(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const auto box = reinterpret_cast<HWND>(wParam);
    wchar_t className[8] = {};
    GetClassNameW(box, className, 8);
    if (std::wstring_view(className) == L"#32770") {
      SetDlgItemTextW(box, IDYES, L"&Ja");
      SetDlgItemTextW(box, IDNO, L"&Nein");
      SetDlgItemTextW(box, IDOK, L"OK");
      captionHook.reset();
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// The style numbers the handlers use are Windows' own. A question is answered yes only by "Ja":
// Esc, the close button and a box that could not be shown answer no.
msgbox::Answer Win32Dialogs::messageBox(const std::string& text, int style,
                                        const std::string& title) {
  captionHook.reset(SetWindowsHookExW(WH_CBT, germanButtons, nullptr, GetCurrentThreadId()));
  const int pressed = MessageBoxW(owner_, widen(text).c_str(), widen(title).c_str(),
                                  static_cast<UINT>(style) | MB_SETFOREGROUND);
  captionHook.reset();
  if ((style & 0x0f) != msgbox::yesNo) return msgbox::Answer::ok;
  return pressed == IDYES ? msgbox::Answer::yes : msgbox::Answer::no;
}
