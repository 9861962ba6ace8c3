#pragma once

#include <functional>

#include "core/app/controls/control.h"

class Label : public Control {
 public:
  using Control::Control;

  // Raises onChange synchronously, before returning, and only when the text really changes.
  void setCaption(const std::string& caption);
  // Draws the current caption now instead of at the next event-loop turn.
  void refresh() const;

  std::function<void()> onChange;
};
