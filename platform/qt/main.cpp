#include <cstdio>
#include <optional>
#include <string_view>
#include <unistd.h>

#include <QApplication>
#include <QTimer>

#include "platform/posix/clock_commands.h"
#include "platform/qt/clock_program.h"

namespace {

constexpr const char* usage =
    "Aufruf: lurvendel [OPTION]\n"
    "Die Lurvendel, eine sprechende Tischuhr. Ohne Option startet sie; läuft sie schon, geschieht\n"
    "nichts.\n"
    "\n"
    "  --sprich, --speak     die laufende Uhr sagt die Uhrzeit; läuft keine, startet sie und\n"
    "                        sagt sie dann\n"
    "  --anzeigen, --show    das Fenster der laufenden Uhr kommt zurück und nach vorn; läuft\n"
    "                        keine, startet sie\n"
    "  --help                diese Hilfe\n"
    "  --version             die Version\n";

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
  std::optional<std::string_view> command;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--help") {
      std::fputs(usage, stdout);
      return 0;
    }
    if (option == "--version") {
      std::puts("lurvendel " LURVENDEL_VERSION);
      return 0;
    }
    if (option == "--sprich" || option == "--speak") {
      command = clockCommand::speak;
    } else if (option == "--anzeigen" || option == "--show") {
      command = clockCommand::show;
    } else {
      std::fprintf(stderr, "lurvendel: unbekannte Option %s (lurvendel --help nennt alle)\n",
                   argv[i]);
      return 2;
    }
  }
  // A command goes to the clock that runs; only when none does, this one starts.
  if (command && sendToRunningClock(*command)) return 0;

  preferX11();
  const QtMessageHandler qtMessages = qInstallMessageHandler(exitWithoutDisplay);
  QApplication app(argc, argv);
  qInstallMessageHandler(qtMessages);
  ClockProgram clock;
  clock.start();
  if (command) QTimer::singleShot(0, &app, [&clock, &command] { clock.obey(*command); });
  return QApplication::exec();
}
