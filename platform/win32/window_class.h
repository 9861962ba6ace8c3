#pragma once

#include <string_view>

#include "platform/win32/windows_headers.h"

// How Windows draws a window of a class where the program does not: its icons, its pointer, its
// background.
struct WindowClassLook {
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

// The program's icon in the size the system metrics name (SM_CXICON and SM_CYICON, say); shared,
// never to be destroyed.
HICON programIcon(int widthMetric, int heightMetric);

// Registers a window class of this program's the first time it is asked for. Where it cannot be
// registered, says under LURVENDEL_DEBUG=1 what is missing for it.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, std::string_view missing,
                         const WindowClassLook& look = {});
