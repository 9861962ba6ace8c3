#pragma once

#include <functional>

class Control;
class QWidget;
class QtEventLoop;

// Makes the Qt widget that shows one control, placed and styled from the control's design data,
// mirrors the control's state changes into it, and forwards the user's actions to the control
// through the event loop. Visibility is left to the caller, which also knows whether the control
// lies in view.
QWidget* createControlWidget(Control& control, QWidget* parent,
                             const std::function<int(int)>& twipsToPixels, QtEventLoop& loop);
