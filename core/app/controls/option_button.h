#pragma once

#include <functional>
#include <vector>

#include "core/app/controls/control.h"

class OptionGroup;

// One button of an exclusive group. Selecting it, by the user or from code, clears the others
// of its group and raises onClick at once, also when it was selected already.
class OptionButton : public Control {
 public:
  OptionButton(std::string name, const Control* container, Bounds bounds, int tabIndex,
               std::string caption, OptionGroup& group);

  bool value() const { return value_; }
  void select();
  void setFocus() const;

  std::function<void()> onClick;

 private:
  friend class OptionGroup;
  void setValue(bool value);

  OptionGroup& group_;
  bool value_ = false;
};

class OptionGroup {
 public:
  void add(OptionButton& button) { buttons_.push_back(&button); }
  void select(OptionButton& chosen);

 private:
  std::vector<OptionButton*> buttons_;
};
