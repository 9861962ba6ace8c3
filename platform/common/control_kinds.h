#pragma once

#include "core/app/controls/command_button.h"
#include "core/app/controls/frame.h"
#include "core/app/controls/label.h"
#include "core/app/controls/option_button.h"
#include "core/app/controls/text_box.h"

// Calls visit with the control as the kind it is: a label, a text box, an option button, a command
// button or a frame, so that a toolkit picks what shows it by overloading.
template <typename Visit>
decltype(auto) visitControl(Control& control, Visit&& visit) {
  if (auto* label = dynamic_cast<Label*>(&control)) return visit(*label);
  if (auto* box = dynamic_cast<TextBox*>(&control)) return visit(*box);
  if (auto* option = dynamic_cast<OptionButton*>(&control)) return visit(*option);
  if (auto* button = dynamic_cast<CommandButton*>(&control)) return visit(*button);
  return visit(dynamic_cast<Frame&>(control));
}
