#pragma once

#include "core/ports/dialogs.h"

class QWidget;

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}
  msgbox::Answer messageBox(const std::string& text, int style, const std::string& title) override;

 private:
  QWidget* parent_;
};
