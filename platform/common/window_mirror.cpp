#include "platform/common/window_mirror.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/app/controls/option_button.h"
#include "core/app/frm_uhr.h"
#include "platform/common/call_gate.h"

namespace {

// The border the window was designed with: its outer width less its client width.
constexpr int designBorderTwips = 120;
constexpr double twipsPerInch = 1440;

bool isOption(const Control* control) {
  return dynamic_cast<const OptionButton*>(control) != nullptr;
}

bool holds(const Control& outer, const Control& control) {
  for (const Control* container = control.container(); container;
       container = container->container()) {
    if (container == &outer) return true;
  }
  return false;
}

}  // namespace

WindowMirror::WindowMirror(CallGate& gate, std::function<double()> dotsPerInch)
    : gate_(gate), dotsPerInch_(std::move(dotsPerInch)) {}

void WindowMirror::attach(frmUhr& form, NativeControls& natives) {
  form_ = &form;
  natives_ = &natives;
  controls_ = form.controls();
  for (Control* control : controls_) {
    control->viewHook = [this, control](Property property) { changed(*control, property); };
    applyShown(*control);
  }
}

void WindowMirror::detach() {
  for (Control* control : controls_) control->viewHook = nullptr;
  controls_.clear();
  form_ = nullptr;
}

int WindowMirror::pixels(int twips) const {
  return static_cast<int>(std::lround(twips * dotsPerInch_() / twipsPerInch));
}

PixelRect WindowMirror::placeOf(const Control& control, bool inWindow) const {
  const Bounds& b = control.bounds();
  PixelRect place{pixels(b.left), pixels(b.top), pixels(b.width), pixels(b.height)};
  for (const Control* outer = control.container(); inWindow && outer; outer = outer->container()) {
    place.left += pixels(outer->bounds().left);
    place.top += pixels(outer->bounds().top);
  }
  return place;
}

std::vector<Control*> WindowMirror::tabOrder(std::vector<Control*> controls) {
  const auto place = [&controls](const Control* control) {
    int first = control->tabIndex();
    for (const Control* other : controls) {
      if (inOneOptionGroup(control, other)) first = std::min(first, other->tabIndex());
    }
    return std::pair{first, control->tabIndex()};
  };
  std::stable_sort(controls.begin(), controls.end(),
                   [&place](const Control* a, const Control* b) { return place(a) < place(b); });
  return controls;
}

bool WindowMirror::inOneOptionGroup(const Control* a, const Control* b) {
  return isOption(a) && isOption(b) && a->container() == b->container();
}

void WindowMirror::setOuterWidthTwips(int twips) {
  outerWidthTwips_ = twips;
  for (const Control* control : controls_) applyShown(*control);
}

bool WindowMirror::shown(const Control& control) const {
  if (!control.visible()) return false;
  if (control.container()) return shown(*control.container());
  return outerWidthTwips_ == 0 || control.bounds().left < outerWidthTwips_ - designBorderTwips;
}

void WindowMirror::mouseMoved(int x, int y) const {
  if (!form_) return;
  const auto twips = [this](int pixels) {
    return static_cast<float>(pixels * twipsPerInch / dotsPerInch_());
  };
  gate_.deliver([form = form_, x = twips(x), y = twips(y)] { form->Form_MouseMove(0, 0, x, y); });
}

void WindowMirror::paintRequested() const {
  if (form_) gate_.deliver([form = form_] { form->Form_Paint(); });
}

void WindowMirror::closeRequested() const {
  if (!form_) return;
  if (form_->closeAsks()) {
    gate_.deliver([form = form_] { form->requestClose(); });
  } else {
    form_->requestClose();
  }
}

void WindowMirror::changed(const Control& control, Property property) {
  if (property == Property::visible) {
    for (const Control* each : controls_) {
      if (each == &control || holds(control, *each)) applyShown(*each);
    }
  } else if (property == Property::enabled) {
    natives_->setControlEnabled(control, control.enabled());
  } else if ((property == Property::caption || property == Property::text) && !shown(control)) {
    stale_.insert(&control);
  } else {
    natives_->updateControl(control, property);
  }
}

void WindowMirror::applyShown(const Control& control) {
  const bool now = shown(control);
  natives_->setControlShown(control, now);
  if (now && stale_.erase(&control) > 0) {
    natives_->updateControl(control, Property::caption);
    natives_->updateControl(control, Property::text);
  }
}
