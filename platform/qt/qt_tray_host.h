#pragma once

#include <QIcon>
#include <QSystemTrayIcon>
#include <memory>

#include "platform/ports/tray_host.h"

// The notification area through Qt's tray icon, one icon at a time as the record's id allows.
class QtTrayHost : public TrayHost {
 public:
  explicit QtTrayHost(QIcon icon) : icon_(std::move(icon)) {}
  bool notifyIcon(Message message, const Record& record) override;

 private:
  QIcon icon_;
  std::unique_ptr<QSystemTrayIcon> trayIcon_;
};
