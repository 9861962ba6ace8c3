#include "core/app/controls/option_button.h"

#include <utility>

#include "core/app/controls/assign.h"

OptionButton::OptionButton(std::string name, const Control* container, Bounds bounds, int tabIndex,
                           std::string caption, OptionGroup& group)
    : Control(std::move(name), container, bounds, tabIndex, std::move(caption)), group_(group) {
  group_.add(*this);
}

void OptionButton::select() {
  group_.select(*this);
  if (onClick) onClick();
}

void OptionButton::setFocus() const {
  notifyView(Property::focus);
}

void OptionButton::setValue(bool value) {
  if (assign(value_, value)) notifyView(Property::value);
}

void OptionGroup::select(OptionButton& chosen) {
  for (OptionButton* button : buttons_) {
    if (button != &chosen) button->setValue(false);
  }
  chosen.setValue(true);
}
