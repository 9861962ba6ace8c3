#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QTimer>

#include "platform/posix/clock_claim.h"
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

// An option as the user typed it, but that no control character in it reaches the terminal: C0,
// DEL, and C1 as UTF-8 writes them (0xC2 0x80 to 0xC2 0x9F) are shown as \xHH.
std::string printable(std::string_view option) {
  std::string shown;
  for (size_t i = 0; i < option.size(); ++i) {
    const auto byte = static_cast<unsigned char>(option[i]);
    const auto next = i + 1 < option.size() ? static_cast<unsigned char>(option[i + 1]) : 0;
    const bool c1 = byte == 0xC2 && next >= 0x80 && next <= 0x9F;
    if (byte >= 0x20 && byte != 0x7F && !c1) {
      shown += option[i];
      continue;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, c1 ? "\\x%02x\\x%02x" : "\\x%02x", byte, next);
    shown += hex;
    i += c1 ? 1 : 0;
  }
  return shown;
}

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
  std::vector<std::string_view> commands;
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
      commands.push_back(clockCommand::speak);
    } else if (option == "--anzeigen" || option == "--show") {
      commands.push_back(clockCommand::show);
    } else {
      std::fprintf(stderr, "lurvendel: unbekannte Option %s (lurvendel --help nennt alle)\n",
                   printable(option).c_str());
      return 2;
    }
  }
  // The commands go to the clock that runs; only when none does, this one starts.
  ClockClaim claim;
  if (const auto status = handOverToRunningClock(commands, claim)) return *status;

  preferX11();
  const QtMessageHandler qtMessages = qInstallMessageHandler(exitWithoutDisplay);
  QApplication app(argc, argv);
  qInstallMessageHandler(qtMessages);
  ClockProgram clock(claim);
  clock.start();
  for (const std::string_view command : commands) {
    QTimer::singleShot(0, &app, [&clock, command] { clock.obey(command); });
  }
  return QApplication::exec();
}
