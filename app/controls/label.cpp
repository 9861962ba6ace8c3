#include "app/controls/label.h"

void Label::setCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  notifyView(Property::caption);
  if (onChange) onChange();
}

void Label::refresh() const {
  notifyView(Property::repaintNow);
}
