#include "core/alarm/time_of_day.h"
#include "core/app/frm_uhr.h"
#include "core/app/vocabulary.h"

// Nothing is hidden unless the icon stands in the notification area: a clock without a tray
// would otherwise be out of reach until the next hour.
void frmUhr::Command8_Click() {
  platform_.tray.notifyIcon(TrayHost::Message::add, trayData.bytes());
  if (platform_.tray.iconShown()) platform_.window.hide();
}

void frmUhr::mnuAnzeige_Click() {
  platform_.window.show();
  platform_.tray.notifyIcon(TrayHost::Message::remove, trayData.bytes());
}

// Pointing at "Verbergen" refreshes the tip just before the icon is added.
void frmUhr::Form_MouseMove(int, int, float, float) {
  refreshTip();
}

void frmUhr::refreshTip() {
  if (!Option2.value()) {
    trayData.setTip(titleTip);
  } else if (alarmArmed == 1) {
    trayData.setTip(armedAlarmText());
  }
}

std::string frmUhr::armedAlarmText() const {
  return "Alarm aktiv! Alarm um: " + timeOfDayText(alarmTime);
}

// Clicks that come while an icon action runs (speaking, an open menu) are dropped.
void frmUhr::trayIconEvent(std::int32_t mouseMessage) {
  refreshTip();
  trayMessage = mouseMessage;
  if (trayBusy) return;
  trayBusy = true;
  if (trayMessage == iconMouse::leftButtonUp) {
    Command1.press();
  } else if (trayMessage == iconMouse::rightButtonUp) {
    platform_.window.popupMenu(alarmArmed == 1 ? mnuAlarm.id() : MenuItemId::none);
  }
  trayBusy = false;
}
