#include "platform/qt/qt_platform.h"

#include "app/frm_uhr.h"

QtPlatform::QtPlatform()
    : dialogs_(&window_),
      tray_(window_.windowIcon()),
      ports_{clock_, loop_, dialogs_, window_, tray_, instance_, loop_, audio_} {}

void QtPlatform::connectTray(frmUhr& form) {
  tray_.connect([&form](int mouseMessage) { form.trayIconClicked(mouseMessage); },
                &window_.contextMenu());
}
