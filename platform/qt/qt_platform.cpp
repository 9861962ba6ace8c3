#include "platform/qt/qt_platform.h"

#include "app/frm_uhr.h"

QtPlatform::QtPlatform()
    : window_(loop_),
      dialogs_(&window_),
      tray_(window_.windowIcon()),
      audio_("default", {}, [this] { loop_.whileClipPlays(); }),
      ports_{.clock = clock_,
             .pump = loop_,
             .dialogs = dialogs_,
             .window = window_,
             .tray = tray_,
             .instance = instance_,
             .program = loop_,
             .audio = audio_} {}

void QtPlatform::connectTray(frmUhr& form) {
  tray_.connect(
      [this, &form](int mouseMessage) {
        loop_.deliver([&form, mouseMessage] { form.trayIconEvent(mouseMessage); });
      },
      &window_.contextMenu());
}
