#pragma once

#include "core/app/controls/control.h"

// A captioned group box that contains other controls.
class Frame : public Control {
 public:
  using Control::Control;
};
