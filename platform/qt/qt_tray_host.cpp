#include "platform/qt/qt_tray_host.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "core/app/vocabulary.h"
#include "core/ports/tray_data.h"

namespace {

// Hosts that speak StatusNotifierItem draw the menu themselves and report no right click.
bool hostDrawsMenus() {
  const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  return bus && bus->isServiceRegistered("org.kde.StatusNotifierWatcher");
}

}  // namespace

std::unique_ptr<QSystemTrayIcon> QtTrayHost::systemTrayIcon(const QIcon& icon) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return nullptr;
  return std::make_unique<QSystemTrayIcon>(icon);
}

void QtTrayHost::connect(std::function<void(int)> onClick, QMenu* hostDrawnMenu) {
  onClick_ = std::move(onClick);
  hostDrawnMenu_ = hostDrawnMenu;
}

void QtTrayHost::notifyIcon(Message message, const Record& record) {
  if (message == Message::remove) {
    trayIcon_.reset();
    return;
  }
  if (trayIcon_) return;
  trayIcon_.reset(makeIcon_(icon_).release());
  if (!trayIcon_) return;
  trayIcon_->setToolTip(QString::fromLatin1(TrayData::fromBytes(record).tip()));
  if (hostDrawsMenus()) trayIcon_->setContextMenu(hostDrawnMenu_);
  QObject::connect(trayIcon_.get(), &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     if (reason == QSystemTrayIcon::Trigger) onClick_(iconMouse::leftButtonUp);
                     if (reason == QSystemTrayIcon::Context) onClick_(iconMouse::rightButtonUp);
                   });
  trayIcon_->show();
}
