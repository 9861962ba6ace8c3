#pragma once

#include <type_traits>

#include "core/app/controls/command_button.h"
#include "core/app/controls/frame.h"
#include "core/app/controls/label.h"
#include "core/app/controls/option_button.h"
#include "core/app/controls/text_box.h"

// The control as a Kind, const where the control is; null where it is of another kind.
template <typename Kind, typename AnyControl>
auto* asKind(AnyControl& control) {
  return dynamic_cast<std::conditional_t<std::is_const_v<AnyControl>, const Kind, Kind>*>(&control);
}

// Calls visit with the control as the kind it is: a label, a text box, an option button, a command
// button or a frame, so that a toolkit picks what shows it by overloading.
template <typename AnyControl, typename Visit>
decltype(auto) visitControl(AnyControl& control, Visit&& visit) {
  if (auto* label = asKind<Label>(control)) return visit(*label);
  if (auto* box = asKind<TextBox>(control)) return visit(*box);
  if (auto* option = asKind<OptionButton>(control)) return visit(*option);
  if (auto* button = asKind<CommandButton>(control)) return visit(*button);
  return visit(*asKind<Frame>(control));
}
