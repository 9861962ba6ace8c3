#pragma once

#include <map>

#include <QMenu>

class MenuItem;
class QAction;
class QtEventLoop;

// The Qt menu that shows a model menu's items, kept in step with their visible, checked and
// enabled states; choosing an item runs its click handler.
class PopupMenu {
 public:
  PopupMenu(const MenuItem& menu, QtEventLoop& loop);

  // Opens at the mouse pointer and returns when the menu has closed.
  void exec(const MenuItem* defaultItem);
  QMenu& menu() { return menu_; }

 private:
  void mirror(const MenuItem& item, QAction& action) const;

  QMenu menu_;
  std::map<const MenuItem*, QAction*> actions_;
};
