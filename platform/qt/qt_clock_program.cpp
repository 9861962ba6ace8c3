#include "platform/qt/qt_clock_program.h"

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

QtClockProgram::QtClockProgram(PosixInstanceLock& claim, QtTrayHost::IconMaker makeIcon)
    : claim_(claim),
      platform_(claim, std::move(makeIcon)),
      model_(platform_.ports(), platform_.gate(), [this] { platform_.window().bringToFront(); }),
      ticks_(model_.form().Timer1, platform_.clock(), platform_.gate()),
      commands_([this](std::string_view command) { return model_.obey(command); }) {
  applyLook();
  platform_.window().attach(model_.form());
  platform_.connectTray(model_.form());
}

QtClockProgram::~QtClockProgram() {
  platform_.window().detach();
}

void QtClockProgram::start() {
  model_.start();
  commands_.listen(claim_);
}
