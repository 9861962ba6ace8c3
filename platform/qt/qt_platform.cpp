#include "platform/qt/qt_platform.h"

QtPlatform::QtPlatform()
    : dialogs_(&window_),
      tray_(window_.windowIcon()),
      ports_{clock_, loop_, dialogs_, window_, tray_, instance_, loop_, audio_} {}
