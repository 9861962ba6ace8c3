#include <cstdio>
#include <unistd.h>

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

// The display the window goes to, as the user would name it.
QByteArray displayName() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const char* variable = platform.startsWith("wayland") ? "WAYLAND_DISPLAY" : "DISPLAY";
  const QByteArray value = qgetenv(variable);
  return value.isEmpty() ? QByteArray(variable) + " ist nicht gesetzt"
                         : QByteArray(variable) + "=" + value;
}

// Qt gives up on a display it cannot open with several lines and an abort (and a core file); a
// desktop clock started without a desktop says so in one line and ends with status 1. Qt's other
// messages at start-up stay unprinted, as everything the clock would print.
void exitWithoutDisplay(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtFatalMsg) return;
  std::fprintf(stderr, "lurvendel: keine Anzeige erreichbar (%s)\n", displayName().constData());
  _exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  preferX11();
  const QtMessageHandler qtMessages = qInstallMessageHandler(exitWithoutDisplay);
  QApplication app(argc, argv);
  qInstallMessageHandler(qtMessages);
  ClockProgram clock;
  clock.start();
  return QApplication::exec();
}
