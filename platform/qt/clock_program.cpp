#include "platform/qt/clock_program.h"

#include <QApplication>
#include <QFont>

#include "platform/qt/label_accessibility.h"

namespace {

// Fusion looks the same on every desktop; the controls without a font of their own take a small
// sans-serif face.
void applyLook() {
  QApplication::setStyle("Fusion");
  QApplication::setFont(QFont("Liberation Sans", 8));
  installLabelAccessibility();
}

}  // namespace

ClockProgram::ClockProgram()
    : form_(platform_.ports()), ticks_(form_.Timer1, platform_.clock(), platform_.loop()) {
  applyLook();
  platform_.window().attach(form_);
  platform_.connectTray(form_);
}

void ClockProgram::start() {
  form_.Form_Load();
}
