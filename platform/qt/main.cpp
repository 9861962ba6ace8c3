#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QTimer>

#include "platform/common/command_line.h"
#include "platform/common/debug_wanted.h"
#include "platform/common/voice_folder.h"
#include "platform/posix/posix_caller.h"
#include "platform/posix/posix_instance_lock.h"
#include "platform/posix/session_folders.h"
#include "platform/posix/standard_streams.h"
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

// Once it runs, the clock prints nothing (a display connection that broke, say) unless asked to.
void dropQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// The sound server's library behind ALSA complains on stderr (of a cookie it cannot load, say);
// unless the user asked for such lines, it tells the system log instead. Set before any thread
// could read the environment.
void sendSoundLibraryMessagesToSystemLog() {
  if (!debugWanted()) setenv("PULSE_LOG_SYSLOG", "1", 0);
}

}  // namespace

// The desktop clock. The command `lurvendel` runs it in its own place with the claim of the one
// clock it holds; started by itself, it answers the command line first, as the command would.
int main(int argc, char** argv) {
  openClosedStandardStreams();
  sendSoundLibraryMessagesToSystemLog();
  const CommandLine line = parseCommandLine({argv + 1, argv + argc});
  PosixInstanceLock claim;
  if (!claim.takeUpHandedOver()) {
    if (const auto status = answerAsCaller(line, claim)) return *status;
  }
  speakWith(voiceOf(voiceFolder()));
  preferX11();
  const QtMessageHandler qtMessages = qInstallMessageHandler(exitWithoutDisplay);
  QApplication app(argc, argv);
  qInstallMessageHandler(debugWanted() ? qtMessages : dropQtMessage);
  QtClockProgram clock(claim);
  clock.start();
  for (const std::string_view command : line.commands) {
    QTimer::singleShot(0, &app, [&clock, command] { clock.obey(command); });
  }
  return QApplication::exec();
}
