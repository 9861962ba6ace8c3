#include "platform/win32/win32_entry_input.h"

#include <algorithm>
#include <cstdint>

#include "core/app/controls/text_box.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr UINT_PTR entrySubclass = 2;
constexpr wchar_t paste = 0x16;  // what Ctrl+V types: the edit pastes, and the text is sifted

// Ctrl with a letter but V (which pastes), and neither Alt nor AltGr: it types a control
// character.
bool controlLetter(WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
  return ctrl && key >= 'A' && key <= 'Z' && key != 'V';
}

bool isControlCharacter(wchar_t c) {
  return c < 0x20 || (c >= 0x7f && c < 0xa0);
}

// The part of inserted text that gets in: each character as if typed, control characters never.
std::wstring admitted(TextBox& box, std::wstring_view inserted) {
  std::wstring kept;
  for (const wchar_t c : inserted) {
    if (isControlCharacter(c)) continue;
    auto code = static_cast<std::int16_t>(c);
    if (box.onKeyPress) box.onKeyPress(code);
    if (code != 0) kept += static_cast<wchar_t>(code);
  }
  return kept;
}

}  // namespace

Win32EntryInput::Win32EntryInput(HWND edit, TextBox& box, Win32CallGate& gate)
    : edit_(edit), box_(box), gate_(gate), before_(text()) {
  SetWindowSubclass(edit_, subclass, entrySubclass, reinterpret_cast<DWORD_PTR>(this));
  narrowMargins();
}

Win32EntryInput::~Win32EntryInput() {
  RemoveWindowSubclass(edit_, subclass, entrySubclass);
}

void Win32EntryInput::showText() {
  setText(widen(box_.text()));
}

// A typed character is what Windows hands over as WM_CHAR: Backspace is one, and Ctrl with a
// letter types its control character, as the key handler expects.
LRESULT CALLBACK Win32EntryInput::subclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
  auto& entry = *reinterpret_cast<Win32EntryInput*>(self);
  if (message == WM_KEYDOWN && controlLetter(wParam) && entry.box_.onKeyPress) {
    // The edit acts on some of these at the key itself (Ctrl+A selects all).
    auto code = static_cast<std::int16_t>(wParam - 'A' + 1);
    entry.box_.onKeyPress(code);
    if (code == 0) return 0;
  } else if (message == WM_CHAR && wParam != paste && entry.box_.onKeyPress) {
    auto code = static_cast<std::int16_t>(wParam);
    entry.box_.onKeyPress(code);
    if (code == 0) return 0;
    wParam = static_cast<std::uint16_t>(code);
  } else if (message == WM_LBUTTONUP && entry.box_.onClick) {
    entry.gate_.deliver(entry.box_.onClick);
  } else if (message == WM_SETFONT) {
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    entry.narrowMargins();
    return result;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

// The edit's own margins, which follow its font, leave too little room for a time of eight
// characters in the designed width; the frame around the text is margin enough.
void Win32EntryInput::narrowMargins() {
  SendMessageW(edit_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

// The inserted part is what differs from the text before the change.
void Win32EntryInput::textChanged() {
  std::wstring now = text();
  if (settingText_) {
    before_ = now;
    return;
  }
  const size_t common = std::min(before_.size(), now.size());
  size_t head = 0;
  while (head < common && before_[head] == now[head]) ++head;
  size_t tail = 0;
  while (tail < common - head && before_[before_.size() - 1 - tail] == now[now.size() - 1 - tail]) {
    ++tail;
  }
  const std::wstring inserted = now.substr(head, now.size() - head - tail);
  std::wstring kept = admitted(box_, inserted);
  const auto maxLength = static_cast<size_t>(box_.maxLength());
  const size_t others = now.size() - inserted.size();
  kept.resize(std::min(kept.size(), others < maxLength ? maxLength - others : 0));
  const std::wstring before = before_;
  if (kept != inserted) {
    now = now.substr(0, head) + kept + now.substr(now.size() - tail);
    setText(now);
    const auto caret = static_cast<WPARAM>(head + kept.size());
    SendMessageW(edit_, EM_SETSEL, caret, static_cast<LPARAM>(caret));
  }
  before_ = now;
  if (now != before) gate_.deliver([this, edited = narrow(now)] { box_.editedByUser(edited); });
}

std::wstring Win32EntryInput::text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Win32EntryInput::setText(const std::wstring& text) {
  settingText_ = true;
  SetWindowTextW(edit_, text.c_str());
  settingText_ = false;
  before_ = text;
}
