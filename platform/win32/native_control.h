#pragma once

#include <functional>
#include <memory>

#include "core/app/controls/control.h"
#include "platform/common/window_mirror.h"
#include "platform/win32/control_accessible.h"
#include "platform/win32/win32_call_gate.h"
#include "platform/win32/windows_headers.h"

// The native control that shows one control of the model: how to bring it up to date when a
// property of the control has changed, and what its notifications (WM_COMMAND codes) mean.
struct NativeControl {
  HWND handle = nullptr;
  std::function<void(Property)> update;
  std::function<void(WORD code)> notified;
  // What the control's accessible objects read.
  std::shared_ptr<AccessibleSource> accessible;
};

// Makes the native control of one control, hidden, at its place in the parent's client area and
// with its font, which forwards the user's actions to the control through the call gate. A
// control that starts a group is where the arrow keys' round inside an option group ends.
NativeControl createNativeControl(Control& control, HWND parent, int id, const PixelRect& place,
                                  HFONT font, bool startsGroup, Win32CallGate& gate);
