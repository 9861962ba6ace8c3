#pragma once

#include <functional>

#include "core/app/controls/control.h"
#include "platform/common/window_mirror.h"

class QWidget;
class QtCallGate;

// The Qt widget that shows one control, and how to bring it up to date when a property of the
// control has changed (nothing, for a control whose state never changes its look).
struct ControlWidget {
  QWidget* widget;
  std::function<void(Property)> update;
};

// Makes the widget of one control at its place in the parent, styled from the control's design
// data, which forwards the user's actions to the control through the call gate. Visibility is left
// to the caller, which also knows whether the control lies in view.
ControlWidget createControlWidget(Control& control, QWidget* parent, const PixelRect& place,
                                  QtCallGate& gate);
