#include "core/app/controls/command_button.h"

void CommandButton::press() const {
  if (onClick) onClick();
}
