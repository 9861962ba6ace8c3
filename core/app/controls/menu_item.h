#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/ports/window_host.h"

// Which piece of a menu item changed, so that a view updates only that.
enum class MenuProperty { visible, checked, enabled };

struct MenuItemState {
  bool visible = true;
  bool checked = false;
};

// An item of the popup menu tree; a separator has an empty caption and no action.
class MenuItem {
 public:
  MenuItem(std::string name, std::string caption, MenuItemState state = {});
  static MenuItem separator(std::string name);
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;
  MenuItem(MenuItem&&) = default;

  const std::string& name() const { return name_; }
  MenuItemId id() const { return id_; }
  const std::string& caption() const { return caption_; }
  bool isSeparator() const { return separator_; }

  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool checked() const { return checked_; }
  void setChecked(bool checked);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  const std::vector<MenuItem*>& items() const { return items_; }
  // Adds an item at the end, which gives it its id.
  void add(MenuItem& item);

  void click() const;

  std::function<void()> onClick;
  std::function<void(MenuProperty)> viewHook;

 private:
  void notifyView(MenuProperty property) const;

  std::string name_;
  std::string caption_;
  MenuItemId id_ = MenuItemId::none;
  bool separator_ = false;
  bool visible_;
  bool checked_;
  bool enabled_ = true;
  std::vector<MenuItem*> items_;
};
