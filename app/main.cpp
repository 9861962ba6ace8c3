#include <QApplication>

#include "platform/qt/clock_program.h"

namespace {

// Staying on top needs X11; on a Wayland session run through XWayland unless the user chose.
void preferX11() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
}

}  // namespace

int main(int argc, char** argv) {
  preferX11();
  QApplication app(argc, argv);
  ClockProgram clock;
  if (!clock.start()) return 0;
  return QApplication::exec();
}
