#include "platform/qt/qt_tray_host.h"

#include "tray/tray_data.h"

bool QtTrayHost::notifyIcon(Message message, const Record& record) {
  switch (message) {
    case Message::add:
      if (trayIcon_ || !QSystemTrayIcon::isSystemTrayAvailable()) return false;
      trayIcon_ = std::make_unique<QSystemTrayIcon>(icon_);
      trayIcon_->setToolTip(QString::fromLatin1(tipOfRecord(record)));
      trayIcon_->show();
      return true;
    case Message::remove:
      if (!trayIcon_) return false;
      trayIcon_.reset();
      return true;
    case Message::modify:
      return false;
  }
  return false;
}
