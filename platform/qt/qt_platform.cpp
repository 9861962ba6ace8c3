#include "platform/qt/qt_platform.h"

#include "core/app/frm_uhr.h"
#include "platform/alsa/alsa_audio_device.h"

QtPlatform::QtPlatform(PosixInstanceLock& claim, QtTrayHost::IconMaker makeIcon)
    : window_(gate_),
      dialogs_(&window_),
      tray_(window_.windowIcon(), std::move(makeIcon)),
      audio_([] { return std::make_unique<AlsaAudioDevice>("default"); }, "default", {},
             [this] { gate_.whileClipPlays(); }),
      ports_{.clock = clock_,
             .pump = gate_,
             .dialogs = dialogs_,
             .window = window_,
             .tray = tray_,
             .instance = claim,
             .program = gate_,
             .audio = audio_} {}

void QtPlatform::connectTray(frmUhr& form) {
  tray_.connect(
      [this, &form](int mouseMessage) {
        gate_.deliver([&form, mouseMessage] { form.trayIconEvent(mouseMessage); });
      },
      &window_.contextMenu());
}
