#include <QApplication>
#include <QFont>

#include "app/frm_uhr.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_tick_timer.h"

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
  QApplication::setStyle("Fusion");
  QApplication::setFont(QFont("Liberation Sans", 8));

  QtPlatform platform;
  frmUhr form(platform.ports());
  platform.window().attach(form);
  platform.connectTray(form);
  QtTickTimer ticks(form.Timer1, platform.clock());
  form.Form_Load();
  if (platform.ended()) return 0;
  return QApplication::exec();
}
