#include "core/app/controls/control.h"

#include <utility>

#include "core/app/controls/assign.h"

Control::Control(std::string name, const Control* container, Bounds bounds, int tabIndex,
                 std::string caption, Look look)
    : caption_(std::move(caption)),
      name_(std::move(name)),
      container_(container),
      bounds_(bounds),
      tabIndex_(tabIndex),
      look_(std::move(look)) {}

void Control::setVisible(bool visible) {
  if (assign(visible_, visible)) notifyView(Property::visible);
}

void Control::setEnabled(bool enabled) {
  if (assign(enabled_, enabled)) notifyView(Property::enabled);
}

void Control::notifyView(Property property) const {
  if (viewHook) viewHook(property);
}
