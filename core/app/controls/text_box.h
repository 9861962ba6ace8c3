#pragma once

#include <cstdint>
#include <functional>

#include "core/app/controls/control.h"

class TextBox : public Control {
 public:
  TextBox(std::string name, const Control* container, Bounds bounds, int tabIndex, std::string text,
          int maxLength, Look look = {});

  const std::string& text() const { return caption_; }
  void setText(const std::string& text);
  int maxLength() const { return maxLength_; }

  // The user typed: the text is already in the view, so the view is not told again.
  void editedByUser(const std::string& text);

  std::function<void()> onClick;
  // The character code typed; a handler sets it to 0 to drop the key.
  std::function<void(std::int16_t& keyCode)> onKeyPress;

 private:
  int maxLength_;
};
