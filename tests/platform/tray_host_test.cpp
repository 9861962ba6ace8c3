#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QDBusConnection>
#include <QMenu>
#include <QPixmap>

#include "core/app/vocabulary.h"
#include "core/ports/tray_data.h"
#include "platform/qt/qt_tray_host.h"

namespace {

QIcon shape() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::green);
  return QIcon(pixmap);
}

// A tray host whose icons the test holds, as a desktop's notification area would.
struct Tray {
  Tray() {
    host.connect([this](int mouseMessage) { clicks.push_back(mouseMessage); }, &menu);
  }
  void add(const std::string& tip) {
    TrayData record;
    record.setTip(tip);
    host.notifyIcon(TrayHost::Message::add, record.bytes());
  }

  QMenu menu;
  std::vector<QSystemTrayIcon*> made;
  std::vector<int> clicks;
  QtTrayHost host{shape(), [this](const QIcon& icon) {
                    auto shown = std::make_unique<QSystemTrayIcon>(icon);
                    made.push_back(shown.get());
                    return shown;
                  }};
};

}  // namespace

// One icon at a time, with the tip of the record that added it; a click and a request for the
// context menu come back as the mouse codes the model knows, other clicks not at all. Where the
// host draws the menu itself (a StatusNotifierItem host), the icon carries the window's menu.
TEST(QtTrayHost, OneIconWithItsTipWhoseClicksComeBackAsMouseCodes) {
  for (const bool hostDrawsMenus : {false, true}) {
    if (hostDrawsMenus) {
      ASSERT_TRUE(QDBusConnection::sessionBus().registerService("org.kde.StatusNotifierWatcher"));
    }
    Tray tray;
    tray.add(titleTip);
    tray.add("ein zweites");
    ASSERT_EQ(tray.made.size(), 1u);
    QSystemTrayIcon* icon = tray.made[0];
    EXPECT_TRUE(tray.host.iconShown());
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip().toStdString(), titleTip);
    EXPECT_EQ(icon->contextMenu(), hostDrawsMenus ? &tray.menu : nullptr);
    for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context,
                              QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick}) {
      emit icon->activated(reason);
    }
    EXPECT_EQ(tray.clicks, (std::vector<int>{iconMouse::leftButtonUp, iconMouse::rightButtonUp}));
    tray.host.notifyIcon(TrayHost::Message::remove, {});
    EXPECT_FALSE(tray.host.iconShown());
    tray.add(titleTip);
    EXPECT_EQ(tray.made.size(), 2u) << "added again once removed";
  }
  // Without a notification area (none here) there is no icon, and the window stays.
  QtTrayHost none{shape()};
  none.notifyIcon(TrayHost::Message::add, TrayData().bytes());
  EXPECT_FALSE(none.iconShown());
}

int main(int argc, char** argv) {
  // A session bus of its own, so that the host looked for is the test's and no desktop's.
  if (!std::getenv("LURVENDEL_TEST_BUS")) {
    setenv("LURVENDEL_TEST_BUS", "1", 1);
    std::vector<char*> command = {const_cast<char*>("dbus-run-session"), const_cast<char*>("--")};
    command.insert(command.end(), argv, argv + argc);
    command.push_back(nullptr);
    execvp(command[0], command.data());
    return 127;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
