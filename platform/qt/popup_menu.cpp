#include "platform/qt/popup_menu.h"

#include <QAction>
#include <QCursor>

#include "app/controls/menu_item.h"
#include "platform/qt/qt_event_loop.h"

PopupMenu::PopupMenu(const MenuItem& menu, QtEventLoop& loop) {
  for (MenuItem* item : menu.items()) {
    QAction* action = item->isSeparator()
                          ? menu_.addSeparator()
                          : menu_.addAction(QString::fromStdString(item->caption()));
    actions_[item] = action;
    mirror(*item, *action);
    item->viewHook = [this, item, action](MenuProperty) { mirror(*item, *action); };
    QObject::connect(action, &QAction::triggered, [this, item, action, &loop] {
      // Qt toggled the mark itself; the model decides.
      mirror(*item, *action);
      loop.deliver([item] { item->click(); });
    });
  }
}

void PopupMenu::exec(const MenuItem* defaultItem) {
  menu_.setDefaultAction(defaultItem ? actions_.at(defaultItem) : nullptr);
  menu_.exec(QCursor::pos());
}

// Only a checked item is checkable, so unchecked items show no empty box.
void PopupMenu::mirror(const MenuItem& item, QAction& action) const {
  action.setVisible(item.visible());
  action.setEnabled(item.enabled());
  action.setCheckable(item.checked());
  action.setChecked(item.checked());
}
