#pragma once

#include "core/ports/window_host.h"
#include "platform/win32/windows_headers.h"

class MenuItem;

// Opens a model menu's visible items at the mouse pointer, with their check marks and enabled
// states and one item drawn as the default, and waits for the user: the item chosen, or none.
MenuItemId trackPopupMenu(const MenuItem& menu, MenuItemId defaultItem, HWND owner);
