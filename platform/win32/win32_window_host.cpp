#include "platform/win32/win32_window_host.h"

#include <utility>
#include <vector>

#include "core/app/frm_uhr.h"
#include "platform/win32/debug_lines.h"
#include "platform/win32/popup_menu.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock_contact.h"
#include "platform/win32/window_class.h"

namespace {

constexpr int firstControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send
constexpr UINT_PTR controlSubclass = 1;
// Not clipping its children: a group box leaves its inside to the window's background.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int screenDpi() {
  const ScopedDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

POINT pointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

Win32WindowHost::Win32WindowHost(Win32CallGate& gate, DesktopEvents events)
    : gate_(gate),
      dpi_(screenDpi()),
      mirror_(gate, [this] { return dpi_; }),
      gdi_(dpi_),
      signals_(tray_, {.clockJumped = std::move(events.clockJumped),
                       .command = std::move(events.command),
                       .iconClicked =
                           [this](int code) {
                             if (frmUhr* form = mirror_.form()) {
                               gate_.deliver([form, code] { form->trayIconEvent(code); });
                             }
                           },
                       .sessionHeldBecause =
                           [this] {
                             const frmUhr* form = mirror_.form();
                             return form && form->closeAsks() ? form->armedAlarmText() : "";
                           },
                       .sessionEnds =
                           [this] {
                             tray_.removeShownIcon();
                             gate_.endProgram();
                           }}) {
  registerWindowClass(clockWindowClass, &Win32WindowHost::procedure, "kein Uhrfenster",
                      {.icon = programIcon(SM_CXICON, SM_CYICON),
                       .smallIcon = programIcon(SM_CXSMICON, SM_CYSMICON),
                       .cursor = LoadCursorW(nullptr, IDC_ARROW),
                       .background = GetSysColorBrush(COLOR_BTNFACE)});
  RECT outer{0, 0, mirror_.pixels(frmUhr::designClientWidthTwips),
             mirror_.pixels(frmUhr::designClientHeightTwips)};
  AdjustWindowRectEx(&outer, windowStyle, FALSE, 0);
  window_ =
      CreateWindowExW(0, clockWindowClass, widen(frmUhr::designCaption).c_str(), windowStyle,
                      CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                      outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) reportFailure("kein Uhrfenster", "CreateWindowExW", GetLastError());
}

// No message reaches the window's procedure once its object is on the way out.
Win32WindowHost::~Win32WindowHost() {
  detach();
  tray_.removeShownIcon();
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void Win32WindowHost::attach(frmUhr& form) {
  int id = firstControlId;
  const Control* previous = nullptr;
  for (Control* control : WindowMirror::tabOrder(form.controls())) {
    NativeControl& native = natives_[control] = createNativeControl(
        *control, window_, id, mirror_.placeOf(*control, true), gdi_.font(control->look()),
        !WindowMirror::inOneOptionGroup(previous, control), gate_);
    byId_[id++] = &native;
    byHandle_[native.handle] = control;
    SetWindowSubclass(native.handle, controlMessages, controlSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
    previous = control;
  }
  mirror_.attach(form, *this);
}

// The native controls go before the model does, telling nothing on their way out.
void Win32WindowHost::detach() {
  mirror_.detach();
  std::vector<HWND> handles;
  for (const auto& [control, native] : natives_) {
    RemoveWindowSubclass(native.handle, controlMessages, controlSubclass);
    native.accessible->control = nullptr;
    handles.push_back(native.handle);
  }
  byId_.clear();
  byHandle_.clear();
  natives_.clear();
  for (HWND handle : handles) DestroyWindow(handle);
}

void Win32WindowHost::setCaption(const std::string& caption) {
  SetWindowTextW(window_, widen(caption).c_str());
}

void Win32WindowHost::setOuterWidthTwips(int twips) {
  RECT outer{};
  GetWindowRect(window_, &outer);
  SetWindowPos(window_, nullptr, 0, 0, mirror_.pixels(twips), outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  mirror_.setOuterWidthTwips(twips);
}

void Win32WindowHost::makeTopmost() {
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A window that shows already stays as it is, minimised or not.
void Win32WindowHost::show() {
  if (!IsWindowVisible(window_)) ShowWindow(window_, SW_SHOW);
}

void Win32WindowHost::hide() {
  ShowWindow(window_, SW_HIDE);
}

// The model's paint handler runs once, here, not again for the paint this causes.
void Win32WindowHost::repaintNow() {
  paintingNow_ = true;
  RedrawWindow(window_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  paintingNow_ = false;
  if (frmUhr* form = mirror_.form()) form->Form_Paint();
}

bool Win32WindowHost::isVisible() const {
  return IsWindowVisible(window_);
}

bool Win32WindowHost::isMinimized() const {
  return IsIconic(window_);
}

void Win32WindowHost::restore() {
  if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
}

void Win32WindowHost::bringToFront() {
  restore();
  SetForegroundWindow(window_);
}

// The item chosen runs its click handler before the menu's call returns, as a menu's own loop
// would run it.
void Win32WindowHost::popupMenu(MenuItemId defaultItem) {
  frmUhr* form = mirror_.form();
  if (!form) return;
  const MenuItemId chosen = trackPopupMenu(form->mnuPopUp, defaultItem, window_);
  if (chosen == MenuItemId::none) return;
  for (const MenuItem* item : form->mnuPopUp.items()) {
    if (item->id() == chosen) gate_.deliver([item] { item->click(); });
  }
}

std::uint32_t Win32WindowHost::nativeHandle() const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window_));
}

std::uint32_t Win32WindowHost::iconHandle() const {
  return static_cast<std::uint32_t>(
      reinterpret_cast<std::uintptr_t>(programIcon(SM_CXSMICON, SM_CYSMICON)));
}

LRESULT CALLBACK Win32WindowHost::procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32WindowHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
  return self->onMessage(message, wParam, lParam);
}

// Mouse moves anywhere over the window reach the model, also over its controls; a screen reader
// asking a control learns of it what the model says.
LRESULT CALLBACK Win32WindowHost::controlMessages(HWND child, UINT message, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto& host = *reinterpret_cast<Win32WindowHost*>(self);
  if (message == WM_MOUSEMOVE) {
    POINT at = pointOf(lParam);
    MapWindowPoints(child, host.window_, &at, 1);
    host.mirror_.mouseMoved(at.x, at.y);
  } else if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    if (const auto found = host.byHandle_.find(child); found != host.byHandle_.end()) {
      return accessibleObjectOf(child, wParam, host.natives_.at(found->second).accessible);
    }
  }
  return DefSubclassProc(child, message, wParam, lParam);
}

LRESULT Win32WindowHost::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto answer = signals_.take(window_, message, wParam, lParam)) return *answer;
  switch (message) {
    case WM_COMMAND:
      if (const auto found = byId_.find(LOWORD(wParam));
          found != byId_.end() && found->second->notified) {
        found->second->notified(HIWORD(wParam));
      }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), COLOR_BTNFACE);
    case WM_CTLCOLOREDIT:
      return colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), COLOR_WINDOW);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window_, &paint);
      EndPaint(window_, &paint);
      if (!paintingNow_) mirror_.paintRequested();
      return 0;
    }
    case WM_MOUSEMOVE: {
      const POINT at = pointOf(lParam);
      mirror_.mouseMoved(at.x, at.y);
      return 0;
    }
    case WM_CLOSE:
      mirror_.closeRequested();
      return 0;
    case WM_ACTIVATE:
      rememberOrRestoreFocus(wParam);
      return 0;
    case WM_DPICHANGED:
      changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

// The designed colours; elsewhere the system's.
LRESULT Win32WindowHost::colours(HDC dc, HWND child, int systemBackground) {
  const auto found = byHandle_.find(child);
  const Look look = found == byHandle_.end() ? Look{} : found->second->look();
  return reinterpret_cast<LRESULT>(gdi_.colours(dc, look, systemBackground));
}

// The keyboard goes back where it was when the window lost it, or to the first control.
void Win32WindowHost::rememberOrRestoreFocus(WPARAM activation) {
  if (LOWORD(activation) == WA_INACTIVE) {
    if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) lastFocus_ = focus;
  } else if (HWND target = lastFocus_ && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)
                               ? lastFocus_
                               : GetNextDlgTabItem(window_, nullptr, FALSE)) {
    SetFocus(target);
  }
}

// Another monitor, or another scale: every control placed from its twips at the new resolution,
// the fonts made anew (a label that fits its text fits it again), the window where Windows says.
void Win32WindowHost::changeDpi(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  GdiCache fresh(dpi);
  for (const auto& [control, native] : natives_) {
    const PixelRect place = mirror_.placeOf(*control, true);
    SetWindowPos(native.handle, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(native.handle, WM_SETFONT, reinterpret_cast<WPARAM>(fresh.font(control->look())),
                 TRUE);
    if (native.update) native.update(Property::caption);
  }
  gdi_ = std::move(fresh);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowHost::setControlShown(const Control& control, bool shown) {
  ShowWindow(natives_.at(&control).handle, shown ? SW_SHOWNA : SW_HIDE);
}

void Win32WindowHost::setControlEnabled(const Control& control, bool enabled) {
  EnableWindow(natives_.at(&control).handle, enabled);
}

void Win32WindowHost::updateControl(const Control& control, Property property) {
  if (const NativeControl& native = natives_.at(&control); native.update) native.update(property);
}
