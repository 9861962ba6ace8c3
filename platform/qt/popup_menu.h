#pragma once

#include <QMenu>
#include <map>

class MenuItem;
class QAction;

// The Qt menu that shows a model menu's items, kept in step with their visible, checked and
// enabled states; choosing an item runs its click handler.
class PopupMenu {
 public:
  explicit PopupMenu(const MenuItem& menu);

  // Opens at the mouse pointer and returns when the menu has closed.
  void exec(const MenuItem* defaultItem);
  QMenu& menu() { return menu_; }

 private:
  void mirror(const MenuItem& item, QAction& action) const;

  QMenu menu_;
  std::map<const MenuItem*, QAction*> actions_;
};
