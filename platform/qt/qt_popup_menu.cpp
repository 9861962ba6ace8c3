#include "platform/qt/qt_popup_menu.h"

#include <QAction>
#include <QCursor>

#include "core/app/controls/menu_item.h"
#include "platform/qt/qt_call_gate.h"

QtPopupMenu::QtPopupMenu(const MenuItem& menu, QtCallGate& gate) {
  for (MenuItem* item : menu.items()) {
    QAction* action = item->isSeparator()
                          ? menu_.addSeparator()
                          : menu_.addAction(QString::fromStdString(item->caption()));
    actions_[item->id()] = action;
    mirror(*item, *action);
    item->viewHook = [this, item, action](MenuProperty) { mirror(*item, *action); };
    QObject::connect(action, &QAction::triggered, [this, item, action, &gate] {
      // Qt toggled the mark itself; the model decides.
      mirror(*item, *action);
      gate.deliver([item] { item->click(); });
    });
  }
}

void QtPopupMenu::exec(MenuItemId defaultItem) {
  const auto found = actions_.find(defaultItem);
  menu_.setDefaultAction(found == actions_.end() ? nullptr : found->second);
  menu_.exec(QCursor::pos());
}

// Only a checked item is checkable, so unchecked items show no empty box.
void QtPopupMenu::mirror(const MenuItem& item, QAction& action) const {
  action.setVisible(item.visible());
  action.setEnabled(item.enabled());
  action.setCheckable(item.checked());
  action.setChecked(item.checked());
}
