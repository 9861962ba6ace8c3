#include "core/app/frm_uhr.h"
#include "core/app/local_time.h"
#include "core/app/vocabulary.h"

void frmUhr::Form_Load() {
  if (platform_.instance.anotherInstanceRunning()) platform_.program.endProgram();
  trayData.cbSize = TrayData::recordSize;
  trayData.hWnd = platform_.window.nativeHandle();
  trayData.uID = TrayData::iconId;
  trayData.uFlags = TrayData::flagsMessageIconTip;
  trayData.uCallbackMessage = TrayData::mouseMoveMessage;
  trayData.hIcon = platform_.window.iconHandle();
  trayData.setTip(titleTip);

  platform_.window.setOuterWidthTwips(compactWidthTwips);
  Label2.setCaption(dateLine(platform_.clock.now()));
  platform_.window.makeTopmost();
  Text5.setText(timeText(platform_.clock.now()));
  clockStarted = 0;
  alarmArmed = 0;
  // Each assignment may raise a change event that announces; each reads the clock anew.
  Label4.setCaption(hourText(platform_.clock.now()));
  Label5.setCaption(minuteText(platform_.clock.now()));
  Label6.setCaption(secondText(platform_.clock.now()));
  ShowForm();
  Timer1.setInterval(tickIntervalMs);
}

void frmUhr::Form_Paint() {
  Label6.setCaption(secondText(platform_.clock.now()));
}

void frmUhr::ShowForm() {
  platform_.window.show();
  platform_.window.repaintNow();
}

void frmUhr::requestClose() {
  bool cancel = false;
  Form_QueryUnload(cancel);
  if (!cancel) Form_Unload();
}

bool frmUhr::closeAsks() const {
  return alarmArmed != 0;
}

void frmUhr::Form_QueryUnload(bool& cancel) {
  if (closeAsks()) {
    const auto answer =
        platform_.dialogs.messageBox("Alarm aktiv ! Programm trotzdem beenden ?",
                                     msgbox::question | msgbox::yesNo, "Die Lurvendel-Info");
    // Only "Ja" ends the clock: Esc, the box's close button and a box that could not be shown
    // keep it and its alarm, as "Nein" does.
    if (answer != msgbox::Answer::yes) {
      cancel = true;
      return;
    }
  }
  trayData.cbSize = TrayData::recordSize;
  trayData.hWnd = platform_.window.nativeHandle();
  trayData.uID = TrayData::iconId;
  platform_.tray.notifyIcon(TrayHost::Message::remove, trayData.bytes());
}

void frmUhr::Form_Unload() {
  platform_.window.hide();
  platform_.program.endProgram();
}

void frmUhr::mnuExit_Click() {
  requestClose();
}
