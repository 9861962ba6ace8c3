#include "platform/qt/qt_clock_program.h"

#include <QApplication>
#include <QFont>

#include "platform/posix/posix_clock_contact.h"
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

QtClockProgram::QtClockProgram(PosixInstanceLock& claim)
    : claim_(claim),
      platform_(claim),
      form_(platform_.ports()),
      ticks_(form_.Timer1, platform_.clock(), platform_.gate()),
      speech_(form_, [this](SpeechRequests::Call call) { platform_.gate().whenQuiet(call); }),
      commands_([this](std::string_view command) { return obey(command); }) {
  applyLook();
  platform_.window().attach(form_);
  platform_.connectTray(form_);
}

QtClockProgram::~QtClockProgram() {
  platform_.window().detach();
}

void QtClockProgram::start() {
  platform_.gate().deliver([this] { form_.Form_Load(); });
  commands_.listen(claim_);
}

bool QtClockProgram::obey(std::string_view command) {
  if (command == clockCommand::speak) return speech_.speak() == SpeechRequests::Reply::taken;
  platform_.gate().deliver([this] {
    form_.mnuAnzeige.click();
    platform_.window().bringToFront();
  });
  return true;
}
