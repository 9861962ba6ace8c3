#include "platform/win32/native_control.h"

#include <memory>
#include <utility>

#include "platform/common/control_kinds.h"
#include "platform/win32/debug_lines.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_entry_input.h"

namespace {

// How the native control follows its control, and what its notifications do.
struct Reactions {
  std::function<void(Property)> update;
  std::function<void(WORD code)> notified;
};

struct Kind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle = 0;
};

Kind kindOf(const Label& label) {
  const Look& look = label.look();
  return {L"STATIC",
          static_cast<DWORD>(SS_NOPREFIX | (look.centred ? SS_CENTER | SS_CENTERIMAGE : SS_LEFT) |
                             (look.border ? WS_BORDER : 0))};
}

Kind kindOf(const TextBox& box) {
  return {
      L"EDIT",
      static_cast<DWORD>(WS_TABSTOP | ES_AUTOHSCROLL | (box.look().centred ? ES_CENTER : ES_LEFT)),
      WS_EX_CLIENTEDGE};
}

Kind kindOf(const OptionButton&) {
  return {L"BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON};
}

Kind kindOf(const CommandButton&) {
  return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
}

Kind kindOf(const Frame&) {
  return {L"BUTTON", BS_GROUPBOX};
}

// An auto-size label is as large as its text.
void fitToText(HWND label) {
  const int length = GetWindowTextLengthW(label);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(label, text.data(), length + 1);
  const ScopedDc dc(label);
  const auto previous =
      SelectObject(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), length, &size);
  SelectObject(dc.get(), previous);
  SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Reactions forKind(Label& label, HWND handle, Win32CallGate&) {
  const bool autoSize = label.look().autoSize;
  if (autoSize) fitToText(handle);
  return {[&label, handle, autoSize](Property property) {
            if (property == Property::caption) {
              SetWindowTextW(handle, widen(label.caption()).c_str());
              if (autoSize) fitToText(handle);
            } else if (property == Property::repaintNow) {
              RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            }
          },
          {}};
}

Reactions forKind(TextBox& box, HWND handle, Win32CallGate& gate) {
  const auto entry = std::make_shared<Win32EntryInput>(handle, box, gate);
  return {[entry](Property property) {
            if (property == Property::text) entry->showText();
          },
          [entry](WORD code) {
            if (code == EN_CHANGE) entry->textChanged();
          }};
}

// The button checks itself and clears the others of its group, as the model does.
Reactions forKind(OptionButton& option, HWND handle, Win32CallGate& gate) {
  SendMessageW(handle, BM_SETCHECK, option.value() ? BST_CHECKED : BST_UNCHECKED, 0);
  return {[&option, handle](Property property) {
            if (property == Property::value) {
              SendMessageW(handle, BM_SETCHECK, option.value() ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            if (property == Property::focus) SetFocus(handle);
          },
          [&option, &gate](WORD code) {
            if (code == BN_CLICKED) gate.deliver([&option] { option.select(); });
          }};
}

Reactions forKind(CommandButton& button, HWND, Win32CallGate& gate) {
  return {{}, [&button, &gate](WORD code) {
            if (code == BN_CLICKED) gate.deliver([&button] { button.press(); });
          }};
}

Reactions forKind(Frame&, HWND, Win32CallGate&) {
  return {};
}

}  // namespace

NativeControl createNativeControl(Control& control, HWND parent, int id, const PixelRect& place,
                                  HFONT font, bool startsGroup, Win32CallGate& gate) {
  const Kind kind = visitControl(control, [](const auto& shown) { return kindOf(shown); });
  const std::wstring caption = widen(control.caption());
  HWND handle = CreateWindowExW(
      kind.exStyle, kind.className, caption.c_str(),
      WS_CHILD | kind.style | (startsGroup ? WS_GROUP : 0) | (control.enabled() ? 0 : WS_DISABLED),
      place.left, place.top, place.width, place.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!handle) reportFailure("kein " + control.name(), "CreateWindowExW", GetLastError());
  SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Reactions reactions =
      visitControl(control, [&](auto& shown) { return forKind(shown, handle, gate); });
  return {handle, std::move(reactions.update), std::move(reactions.notified),
          std::make_shared<AccessibleSource>(AccessibleSource{&control})};
}
