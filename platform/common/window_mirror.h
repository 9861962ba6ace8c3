#pragma once

#include <functional>
#include <set>
#include <vector>

#include "core/app/controls/control.h"

class CallGate;
class frmUhr;

// A control's place in pixels: its left and top edges, its width and height.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The toolkit's half of a mirror: the native control that shows each control of the model.
class NativeControls {
 public:
  virtual ~NativeControls() = default;
  virtual void setControlShown(const Control& control, bool shown) = 0;
  virtual void setControlEnabled(const Control& control, bool enabled) = 0;
  // Brings the native control up to date after a property of the control changed: its caption,
  // text, value or focus, or a repaint asked for now.
  virtual void updateControl(const Control& control, Property property) = 0;
};

// What a real window that mirrors the window model decides without its toolkit: where each control
// stands in pixels at the screen's resolution, the order Tab goes round the controls in, which of
// them show at the width the model gave the window, and how the user's moves, paints and closes
// reach the model through the call gate. A caption or text that changes out of view reaches its
// native control once it comes into view: the tick writes the hidden countdown and alarm entry
// every second, and laying out text nobody sees costs an idle clock most of its time.
class WindowMirror {
 public:
  WindowMirror(CallGate& gate, std::function<double()> dotsPerInch);

  // The model's changes reach the native controls from now on; they must stand already.
  void attach(frmUhr& form, NativeControls& natives);
  // Nothing reaches the native controls any more: they may go before the model does.
  void detach();
  frmUhr* form() const { return form_; }

  int pixels(int twips) const;
  // A control's place in its container's client area, or with inWindow in the window's.
  PixelRect placeOf(const Control& control, bool inWindow) const;
  // The design's tab order, but the option buttons of one frame stay together where the first of
  // them stands: one stop for Tab, the arrow keys going round them.
  static std::vector<Control*> tabOrder(std::vector<Control*> controls);
  // Whether both are option buttons of one frame, which the arrow keys go round.
  static bool inOneOptionGroup(const Control* a, const Control* b);

  // The window's outer width as the model sets it: what lies beyond its client area is out of
  // view, as on the designed window, and so is what a control out of view holds. 0 leaves all
  // in view.
  void setOuterWidthTwips(int twips);
  int outerWidthTwips() const { return outerWidthTwips_; }
  // Visible, inside a container that shows, and in view.
  bool shown(const Control& control) const;

  // The pointer moved over the window, at a point of its client area in pixels.
  void mouseMoved(int x, int y) const;
  // The window itself needs painting (shown, exposed, resized): the seconds display catches up.
  void paintRequested() const;
  // The user closes the window. Ending at once does not wait for a clip that is playing; the
  // question asked while an alarm is armed does.
  void closeRequested() const;

 private:
  void changed(const Control& control, Property property);
  // Shows or hides the control and what it holds, as they now are.
  void applyShown(const Control& control);

  CallGate& gate_;
  std::function<double()> dotsPerInch_;
  frmUhr* form_ = nullptr;
  NativeControls* natives_ = nullptr;
  std::vector<Control*> controls_;
  std::set<const Control*> stale_;  // out of view, with a caption or text still to show
  int outerWidthTwips_ = 0;
};
