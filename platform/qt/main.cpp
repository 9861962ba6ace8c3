#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QTimer>

#include "platform/common/command_line.h"
#include "platform/posix/posix_clock_contact.h"
#include "platform/posix/posix_instance_lock.h"
#include "platform/qt/qt_clock_program.h"

namespace {

// Staying on top needs X11: on a Wayland session the clock goes through XWayland, and runs on
// Wayland itself only where no X server answers. Unless the user chose.
void preferX11() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
  }
}

// The displays the window may go to, as the user would name them.
QByteArray displayName() {
  QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
  if (platforms.isEmpty()) platforms = "xcb";
  QByteArrayList names;
  for (const auto& [platform, variable] :
       {std::pair{"xcb", "DISPLAY"}, {"wayland", "WAYLAND_DISPLAY"}}) {
    if (!platforms.contains(platform)) continue;
    const QByteArray value = qgetenv(variable);
    names << QByteArray(variable) + (value.isEmpty() ? " ist nicht gesetzt" : "=" + value);
  }
  return names.join(", ");
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
  const CommandLine line = parseCommandLine({argv + 1, argv + argc});
  switch (line.request) {
    case CommandLine::Request::help:
      std::fputs(usageText, stdout);
      return 0;
    case CommandLine::Request::version:
      std::puts("lurvendel " LURVENDEL_VERSION);
      return 0;
    case CommandLine::Request::unknownOption:
      std::fputs(line.complaint.c_str(), stderr);
      return 2;
    case CommandLine::Request::runClock:
      break;
  }
  // The commands go to the clock that runs; only when none does, this one starts.
  PosixInstanceLock claim;
  PosixClockContact contact(claim);
  if (const auto status = handOverToRunningClock(line.commands, contact)) return *status;

  preferX11();
  const QtMessageHandler qtMessages = qInstallMessageHandler(exitWithoutDisplay);
  QApplication app(argc, argv);
  qInstallMessageHandler(qtMessages);
  QtClockProgram clock(claim);
  clock.start();
  for (const std::string_view command : line.commands) {
    QTimer::singleShot(0, &app, [&clock, command] { clock.obey(command); });
  }
  return QApplication::exec();
}
