#include "core/app/controls/text_box.h"

#include <utility>

#include "core/app/controls/assign.h"

TextBox::TextBox(std::string name, const Control* container, Bounds bounds, int tabIndex,
                 std::string text, int maxLength, Look look)
    : Control(std::move(name), container, bounds, tabIndex, std::move(text), std::move(look)),
      maxLength_(maxLength) {}

void TextBox::setText(const std::string& text) {
  if (assign(caption_, text)) notifyView(Property::text);
}

void TextBox::editedByUser(const std::string& text) {
  caption_ = text;
}
