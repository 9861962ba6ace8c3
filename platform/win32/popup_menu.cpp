#include "platform/win32/popup_menu.h"

#include "core/app/controls/menu_item.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/wide_text.h"

MenuItemId trackPopupMenu(const MenuItem& menu, MenuItemId defaultItem, HWND owner) {
  const UniqueMenu owned(CreatePopupMenu());
  HMENU popup = owned.get();
  for (const MenuItem* item : menu.items()) {
    if (!item->visible()) continue;
    const auto id = static_cast<UINT_PTR>(item->id());
    if (item->isSeparator()) {
      AppendMenuW(popup, MF_SEPARATOR, id, nullptr);
      continue;
    }
    const UINT flags =
        MF_STRING | (item->checked() ? MF_CHECKED : 0) | (item->enabled() ? 0 : MF_GRAYED);
    AppendMenuW(popup, flags, id, widen(item->caption()).c_str());
  }
  if (defaultItem != MenuItemId::none)
    SetMenuDefaultItem(popup, static_cast<UINT>(defaultItem), FALSE);
  // A menu opened from the notification area closes when the user clicks elsewhere only if its
  // window is in front.
  SetForegroundWindow(owner);
  POINT at{};
  GetCursorPos(&at);
  const auto chosen = static_cast<UINT>(TrackPopupMenu(
      popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<MenuItemId>(chosen);
}
