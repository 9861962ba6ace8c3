#include "platform/win32/win32_window_host.h"

#include <algorithm>
#include <cmath>

#include "core/app/controls/option_button.h"
#include "core/app/frm_uhr.h"
#include "platform/win32/popup_menu.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock_contact.h"

namespace {

// The border the window was designed with: its outer width less its client width.
constexpr int designBorderTwips = 120;
constexpr int twipsPerInch = 1440;
constexpr int firstControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send
constexpr UINT_PTR mouseSubclass = 1;
// Not clipping its children: a group box leaves its inside to the window's background.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const FontChoice dialogFont{"MS Shell Dlg 2", 8, false};

int screenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

HICON loadIcon(int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_SHARED));
}

HICON smallIcon() {
  return loadIcon(SM_CXSMICON, SM_CYSMICON);
}

bool isOption(const Control* control) {
  return dynamic_cast<const OptionButton*>(control) != nullptr;
}

// The tab order of the design, but the option buttons of one frame stay together where the
// first of them stands: the arrow keys go round them, and Tab stops at the selected one only.
std::vector<Control*> inTabOrder(std::vector<Control*> controls) {
  const auto place = [&controls](const Control* control) {
    int first = control->tabIndex();
    for (const Control* other : controls) {
      if (isOption(control) && isOption(other) && other->container() == control->container()) {
        first = std::min(first, other->tabIndex());
      }
    }
    return std::pair{first, control->tabIndex()};
  };
  std::stable_sort(controls.begin(), controls.end(),
                   [&place](const Control* a, const Control* b) { return place(a) < place(b); });
  return controls;
}

POINT pointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

void Win32WindowHost::registerWindowClass() {
  static const ATOM registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32WindowHost::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = loadIcon(SM_CXICON, SM_CYICON);
    windowClass.hIconSm = smallIcon();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = clockWindowClass;
    return RegisterClassExW(&windowClass);
  }();
  (void)registered;
}

Win32WindowHost::Win32WindowHost(Win32CallGate& gate, DesktopEvents events)
    : gate_(gate), events_(std::move(events)), dpi_(screenDpi()) {
  registerWindowClass();
  RECT outer{0, 0, pixels(frmUhr::designClientWidthTwips), pixels(frmUhr::designClientHeightTwips)};
  AdjustWindowRectEx(&outer, windowStyle, FALSE, 0);
  window_ =
      CreateWindowExW(0, clockWindowClass, widen(frmUhr::designCaption).c_str(), windowStyle,
                      CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                      outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  tray_.emplace(window_, smallIcon());
}

Win32WindowHost::~Win32WindowHost() {
  detach();
  tray_.reset();
  DestroyWindow(window_);
  for (const auto& [choice, font] : fonts_) DeleteObject(font);
  for (const auto& [colour, brush] : brushes_) DeleteObject(brush);
}

void Win32WindowHost::attach(frmUhr& form) {
  form_ = &form;
  controls_ = form.controls();
  int id = firstControlId;
  const Control* previous = nullptr;
  for (Control* control : inTabOrder(controls_)) {
    const bool continuesGroup = isOption(control) && previous && isOption(previous) &&
                                previous->container() == control->container();
    NativeControl& mirror = mirrors_[control] = createNativeControl(
        *control, window_, id, placeOf(*control), fontFor(control->look()), !continuesGroup, gate_);
    byId_[id++] = &mirror;
    byHandle_[mirror.handle] = control;
    SetWindowSubclass(mirror.handle, forwardMouseMoves, mouseSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
    control->viewHook = [this, control](Property property) {
      const NativeControl& shownBy = mirrors_.at(control);
      if (property == Property::visible) {
        updateVisibility(*control);
      } else if (property == Property::enabled) {
        EnableWindow(shownBy.handle, control->enabled());
      } else if (shownBy.update) {
        shownBy.update(property);
      }
    };
    previous = control;
  }
  for (const Control* control : controls_) updateVisibility(*control);
}

// The native controls go before the model does.
void Win32WindowHost::detach() {
  std::vector<HWND> handles;
  for (Control* control : controls_) {
    control->viewHook = nullptr;
    handles.push_back(mirrors_.at(control).handle);
    RemoveWindowSubclass(handles.back(), forwardMouseMoves, mouseSubclass);
  }
  byId_.clear();
  byHandle_.clear();
  mirrors_.clear();
  controls_.clear();
  for (HWND handle : handles) DestroyWindow(handle);
  form_ = nullptr;
}

void Win32WindowHost::setCaption(const std::string& caption) {
  SetWindowTextW(window_, widen(caption).c_str());
}

void Win32WindowHost::setOuterWidthTwips(int twips) {
  outerWidthTwips_ = twips;
  RECT outer{};
  GetWindowRect(window_, &outer);
  SetWindowPos(window_, nullptr, 0, 0, pixels(twips), outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Control* control : controls_) updateVisibility(*control);
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
  if (form_) form_->Form_Paint();
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
  if (!form_) return;
  const MenuItemId chosen = trackPopupMenu(form_->mnuPopUp, defaultItem, window_);
  if (chosen == MenuItemId::none) return;
  for (const MenuItem* item : form_->mnuPopUp.items()) {
    if (item->id() == chosen) gate_.deliver([item] { item->click(); });
  }
}

std::uint32_t Win32WindowHost::nativeHandle() const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window_));
}

std::uint32_t Win32WindowHost::iconHandle() const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(smallIcon()));
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

// Mouse moves anywhere over the window reach the model, also over its controls.
LRESULT CALLBACK Win32WindowHost::forwardMouseMoves(HWND child, UINT message, WPARAM wParam,
                                                    LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  if (message == WM_MOUSEMOVE) {
    auto& window = *reinterpret_cast<Win32WindowHost*>(self);
    POINT at = pointOf(lParam);
    MapWindowPoints(child, window.window_, &at, 1);
    window.forwardMouseMove(at);
  }
  return DefSubclassProc(child, message, wParam, lParam);
}

LRESULT Win32WindowHost::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
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
      if (form_ && !paintingNow_) gate_.deliver([this] { form_->Form_Paint(); });
      return 0;
    }
    case WM_MOUSEMOVE:
      forwardMouseMove(pointOf(lParam));
      return 0;
    case WM_CLOSE:
      close();
      return 0;
    case WM_ACTIVATE:
      // The keyboard goes back where it was when the window lost it, or to the first control.
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) lastFocus_ = focus;
      } else if (HWND target =
                     lastFocus_ && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)
                         ? lastFocus_
                         : GetNextDlgTabItem(window_, nullptr, FALSE)) {
        SetFocus(target);
      }
      return 0;
    // A new system time, possibly a new time zone, a wake from sleep: the displays catch up now.
    case WM_TIMECHANGE:
    case WM_SETTINGCHANGE:
      events_.clockJumped();
      break;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC) events_.clockJumped();
      return TRUE;
    // The session ends: no question holds it up, and the clock goes at once.
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) {
        tray_->notifyIcon(TrayHost::Message::remove, {});
        gate_.endProgram();
      }
      return 0;
    case WM_COPYDATA:
      if (const auto command = commandIn(*reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
        return events_.command(*command) ? commandMessage::taken : commandMessage::busy;
      }
      return 0;
    case Win32TrayHost::callbackMessage:
      if (const auto code = Win32TrayHost::actingMouseCode(lParam); code && form_) {
        gate_.deliver([this, code = *code] { form_->trayIconEvent(code); });
      }
      return 0;
    default:
      // Explorer started anew: its notification area has no icons of its own.
      if (message == taskbarCreated) tray_->addAgain();
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

// Ending at once does not wait for a clip that is playing; the question asked while an alarm is
// armed does.
void Win32WindowHost::close() {
  if (!form_) return;
  if (form_->closeAsks()) {
    gate_.deliver([this] { form_->requestClose(); });
  } else {
    form_->requestClose();
  }
}

void Win32WindowHost::forwardMouseMove(POINT at) {
  if (!form_) return;
  const auto x = static_cast<float>(at.x * twipsPerInch) / static_cast<float>(dpi_);
  const auto y = static_cast<float>(at.y * twipsPerInch) / static_cast<float>(dpi_);
  gate_.deliver([this, x, y] { form_->Form_MouseMove(0, 0, x, y); });
}

// The designed colours; elsewhere the system's, on the window's own background (a window that is
// no dialog would give its labels the background of an edit).
LRESULT Win32WindowHost::colours(HDC dc, HWND child, int systemBackground) {
  const auto found = byHandle_.find(child);
  const Look look = found == byHandle_.end() ? Look{} : found->second->look();
  const auto colour = [](Rgb rgb) { return RGB(rgb.red, rgb.green, rgb.blue); };
  SetTextColor(dc, look.foreground ? colour(*look.foreground) : GetSysColor(COLOR_WINDOWTEXT));
  if (!look.background) {
    SetBkColor(dc, GetSysColor(systemBackground));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(systemBackground));
  }
  SetBkColor(dc, colour(*look.background));
  return reinterpret_cast<LRESULT>(brushFor(*look.background));
}

int Win32WindowHost::pixels(int twips) const {
  return MulDiv(twips, dpi_, twipsPerInch);
}

RECT Win32WindowHost::placeOf(const Control& control) const {
  const Bounds& b = control.bounds();
  RECT place{pixels(b.left), pixels(b.top), pixels(b.left) + pixels(b.width),
             pixels(b.top) + pixels(b.height)};
  if (control.container()) {
    const RECT outer = placeOf(*control.container());
    OffsetRect(&place, outer.left, outer.top);
  }
  return place;
}

HFONT Win32WindowHost::fontFor(const Look& look) {
  const FontChoice& choice = look.font.value_or(dialogFont);
  HFONT& font = fonts_[{choice.family, choice.points, choice.bold}];
  if (!font) {
    LOGFONTW description{};
    description.lfHeight = -static_cast<LONG>(std::lround(choice.points * dpi_ / 72));
    description.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    const std::wstring family = widen(choice.family);
    family.copy(description.lfFaceName, LF_FACESIZE - 1);
    font = CreateFontIndirectW(&description);
  }
  return font;
}

HBRUSH Win32WindowHost::brushFor(Rgb colour) {
  const COLORREF key = RGB(colour.red, colour.green, colour.blue);
  HBRUSH& brush = brushes_[key];
  if (!brush) brush = CreateSolidBrush(key);
  return brush;
}

// What lies beyond the client area of the current width is out of view, as on the designed
// window, and what a control out of view holds with it.
bool Win32WindowHost::shown(const Control& control) const {
  if (!control.visible()) return false;
  if (control.container()) return shown(*control.container());
  return outerWidthTwips_ == 0 || control.bounds().left < outerWidthTwips_ - designBorderTwips;
}

void Win32WindowHost::updateVisibility(const Control& control) {
  ShowWindow(mirrors_.at(&control).handle, shown(control) ? SW_SHOWNA : SW_HIDE);
}
