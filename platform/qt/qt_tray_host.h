#pragma once

#include <functional>
#include <memory>

#include <QIcon>
#include <QSystemTrayIcon>

#include "core/ports/tray_host.h"

class QMenu;

// The notification area through Qt's tray icon, one icon at a time as the record's id allows.
// A host that draws the icon's menu by itself (StatusNotifierItem) gets the popup menu to show;
// elsewhere the right click comes back as a mouse code like the left one.
class QtTrayHost : public TrayHost {
 public:
  // Makes the icon where the desktop has a notification area, and none elsewhere.
  using IconMaker = std::function<std::unique_ptr<QSystemTrayIcon>(const QIcon&)>;
  static std::unique_ptr<QSystemTrayIcon> systemTrayIcon(const QIcon& icon);

  explicit QtTrayHost(QIcon icon, IconMaker makeIcon = systemTrayIcon)
      : icon_(std::move(icon)), makeIcon_(std::move(makeIcon)) {}

  void connect(std::function<void(int mouseMessage)> onClick, QMenu* hostDrawnMenu);
  void notifyIcon(Message message, const Record& record) override;
  bool iconShown() const override { return trayIcon_ != nullptr; }

 private:
  QIcon icon_;
  IconMaker makeIcon_;
  std::function<void(int)> onClick_;
  QMenu* hostDrawnMenu_ = nullptr;
  // The icon may go from inside its own click (a menu item chosen): Qt deletes it once that
  // click is done.
  struct DeleteLater {
    void operator()(QObject* object) const { object->deleteLater(); }
  };
  std::unique_ptr<QSystemTrayIcon, DeleteLater> trayIcon_;
};
