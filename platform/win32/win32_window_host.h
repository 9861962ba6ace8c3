#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/ports/window_host.h"
#include "platform/common/window_mirror.h"
#include "platform/win32/desktop_signals.h"
#include "platform/win32/gdi_cache.h"
#include "platform/win32/native_control.h"
#include "platform/win32/win32_call_gate.h"
#include "platform/win32/win32_tray_host.h"

class frmUhr;

// The real top-level window. It only mirrors the window model and forwards the user's actions and
// the window's own events (paint, close, the notification icon's clicks) to it, through the call
// gate; what the desktop says besides goes to whoever listens.
class Win32WindowHost : public WindowHost, private NativeControls {
 public:
  struct DesktopEvents {
    // The wall clock was set, the time zone changed, or the machine woke from sleep.
    std::function<void()> clockJumped;
    // Another process of the user's asks (clockCommand).
    std::function<ClockAnswer(std::string_view command)> command;
  };

  Win32WindowHost(Win32CallGate& gate, DesktopEvents events);
  ~Win32WindowHost() override;
  Win32WindowHost(const Win32WindowHost&) = delete;
  Win32WindowHost& operator=(const Win32WindowHost&) = delete;

  // Makes the native control of every control, which forwards to the model until detach().
  void attach(frmUhr& form);
  void detach();

  // None where the window could not be made.
  HWND handle() const { return window_; }
  TrayHost& tray() { return tray_; }
  // The native control that shows a control of the model.
  HWND controlHandle(const Control& control) const { return natives_.at(&control).handle; }

  void setCaption(const std::string& caption) override;
  void setOuterWidthTwips(int twips) override;
  void makeTopmost() override;
  void show() override;
  void hide() override;
  void repaintNow() override;
  bool isVisible() const override;
  bool isMinimized() const override;
  void restore() override;
  // Restored if minimised, brought in front of the other windows and given the keyboard.
  void bringToFront();
  void popupMenu(MenuItemId defaultItem) override;
  std::uint32_t nativeHandle() const override;
  std::uint32_t iconHandle() const override;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK controlMessages(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT colours(HDC dc, HWND child, int systemBackground);
  void rememberOrRestoreFocus(WPARAM activation);
  void changeDpi(int dpi, const RECT& suggested);
  void setControlShown(const Control& control, bool shown) override;
  void setControlEnabled(const Control& control, bool enabled) override;
  void updateControl(const Control& control, Property property) override;

  Win32CallGate& gate_;
  int dpi_;
  WindowMirror mirror_;
  GdiCache gdi_;
  HWND window_ = nullptr;
  Win32TrayHost tray_;
  DesktopSignals signals_;
  std::map<const Control*, NativeControl> natives_;
  std::map<int, const NativeControl*> byId_;
  std::map<HWND, const Control*> byHandle_;
  bool paintingNow_ = false;
  HWND lastFocus_ = nullptr;
};
