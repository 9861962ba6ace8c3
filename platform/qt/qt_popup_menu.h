#pragma once

#include <map>

#include <QMenu>

#include "core/ports/window_host.h"

class MenuItem;
class QAction;
class QtCallGate;

// The Qt menu that shows a model menu's items, kept in step with their visible, checked and
// enabled states; choosing an item runs its click handler.
class QtPopupMenu {
 public:
  QtPopupMenu(const MenuItem& menu, QtCallGate& gate);

  // Opens at the mouse pointer and returns when the menu has closed.
  void exec(MenuItemId defaultItem);
  QMenu& menu() { return menu_; }

 private:
  void mirror(const MenuItem& item, QAction& action) const;

  QMenu menu_;
  std::map<MenuItemId, QAction*> actions_;
};
