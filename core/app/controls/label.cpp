#include "core/app/controls/label.h"

#include "core/app/controls/assign.h"

void Label::setCaption(const std::string& caption) {
  if (!assign(caption_, caption)) return;
  notifyView(Property::caption);
  if (onChange) onChange();
}

void Label::refresh() const {
  notifyView(Property::repaintNow);
}
