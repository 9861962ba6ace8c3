#pragma once

#include <memory>

#include "platform/win32/windows_headers.h"

class Control;

// The control of the model a native control shows, as its accessible object reads it; the window
// forgets it before the model goes, and a screen reader that still holds the object then learns
// nothing more of it.
struct AccessibleSource {
  const Control* control = nullptr;
};

// The answer to WM_GETOBJECT for a native control's client area: an object that tells screen
// readers (MSAA, and UI Automation through it) the name, role and value the model gives the
// control, as the Linux layer tells them: a display's name says which it is and its value what it
// shows; a button's name what it does. Its state, place and the rest are the standard object's.
LRESULT accessibleObjectOf(HWND native, WPARAM wParam, std::shared_ptr<AccessibleSource> source);
