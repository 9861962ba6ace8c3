#pragma once

#include <functional>

#include "core/app/controls/control.h"

class CommandButton : public Control {
 public:
  using Control::Control;

  // A press from code or from the user: runs the click handler at once.
  void press() const;

  std::function<void()> onClick;
};
