#include "platform/qt/qt_tray_host.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "app/vocabulary.h"
#include "tray/tray_data.h"

namespace {

// Hosts that speak StatusNotifierItem draw the menu themselves and report no right click.
bool hostDrawsMenus() {
  const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  return bus && bus->isServiceRegistered("org.kde.StatusNotifierWatcher");
}

}  // namespace

void QtTrayHost::connect(std::function<void(int)> onClick, QMenu* hostDrawnMenu) {
  onClick_ = std::move(onClick);
  hostDrawnMenu_ = hostDrawnMenu;
}

bool QtTrayHost::notifyIcon(Message message, const Record& record) {
  switch (message) {
    case Message::add: {
      if (trayIcon_ || !QSystemTrayIcon::isSystemTrayAvailable()) return false;
      trayIcon_.reset(new QSystemTrayIcon(icon_));
      trayIcon_->setToolTip(QString::fromLatin1(tipOfRecord(record)));
      if (hostDrawsMenus()) trayIcon_->setContextMenu(hostDrawnMenu_);
      QObject::connect(trayIcon_.get(), &QSystemTrayIcon::activated,
                       [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger) onClick_(iconMouse::leftButtonUp);
                         if (reason == QSystemTrayIcon::Context) onClick_(iconMouse::rightButtonUp);
                       });
      trayIcon_->show();
      return true;
    }
    case Message::remove:
      if (!trayIcon_) return false;
      trayIcon_.reset();
      return true;
    case Message::modify:
      return false;
  }
  return false;
}
