#include "platform/qt/clock_program.h"

#include <QApplication>
#include <QFont>

#include "platform/posix/clock_commands.h"
#include "platform/qt/label_accessibility.h"

namespace {

// Fusion looks the same on every desktop; the controls without a font of their own take a small
// sans-serif face.
void applyLook() {
  QApplication::setStyle("Fusion");
  QApplication::setFont(QFont("Liberation Sans", 8));
  installLabelAccessibility();
}

// Spoken commands beyond these, while they speak or wait, are dropped.
constexpr int maxSpeechesAsked = 3;

}  // namespace

ClockProgram::ClockProgram()
    : form_(platform_.ports()),
      ticks_(form_.Timer1, platform_.clock(), platform_.gate()),
      commands_([this](std::string_view command) { obey(command); }) {
  applyLook();
  platform_.window().attach(form_);
  platform_.connectTray(form_);
}

ClockProgram::~ClockProgram() {
  platform_.window().detach();
}

void ClockProgram::start() {
  form_.Form_Load();
  commands_.listen(platform_.lockFolder());
}

void ClockProgram::obey(std::string_view command) {
  if (command == clockCommand::show) {
    platform_.gate().deliver([this] {
      form_.mnuAnzeige.click();
      platform_.window().bringToFront();
    });
  } else if (speechesAsked_ < maxSpeechesAsked) {
    ++speechesAsked_;
    platform_.gate().deliver([this] {
      form_.Command1.press();
      --speechesAsked_;
    });
  }
}
