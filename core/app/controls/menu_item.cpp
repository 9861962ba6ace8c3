#include "core/app/controls/menu_item.h"

#include <utility>

#include "core/app/controls/assign.h"

MenuItem::MenuItem(std::string name, std::string caption, MenuItemState state)
    : name_(std::move(name)),
      caption_(std::move(caption)),
      visible_(state.visible),
      checked_(state.checked) {}

MenuItem MenuItem::separator(std::string name) {
  MenuItem item(std::move(name), "");
  item.separator_ = true;
  return item;
}

void MenuItem::setVisible(bool visible) {
  if (assign(visible_, visible)) notifyView(MenuProperty::visible);
}

void MenuItem::setChecked(bool checked) {
  if (assign(checked_, checked)) notifyView(MenuProperty::checked);
}

void MenuItem::setEnabled(bool enabled) {
  if (assign(enabled_, enabled)) notifyView(MenuProperty::enabled);
}

void MenuItem::add(MenuItem& item) {
  items_.push_back(&item);
  item.id_ = static_cast<MenuItemId>(items_.size());
}

void MenuItem::click() const {
  if (onClick) onClick();
}

void MenuItem::notifyView(MenuProperty property) const {
  if (viewHook) viewHook(property);
}
