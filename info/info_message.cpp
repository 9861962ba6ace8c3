#include "app/frm_uhr.h"

std::string frmUhr::infoText() {
  const std::string separator = "\n";  // the platform's line break
  const std::string rule(54, '_');
  const std::string quote = "\"";
  return "Die Sprach- und Alarmausgabe funktioniert auch bei " + separator +
         "verborgenem Uhrfenster." + separator + rule + separator + separator +
         "Wird das Uhrfenster verborgen, erscheint im SystemTray ein Icon." + separator + "" +
         separator + "Click mit linker Maustaste auf TrayIcon     -> Zeitansage" + separator +
         "Click mit rechter Maustaste auf TrayIcon  -> Funktions-PopUp-Menü" + separator + rule +
         separator + separator + quote + "Die Lurvendel" + quote + ";      Codename: " + quote +
         "Borrimax" + quote + separator + rule;
}

void frmUhr::Command7_Click() {
  platform_.dialogs.messageBox(infoText(), msgbox::information, "Die Lurvendel   -    Info ");
}

void frmUhr::mnuInfo_Click() {
  Command7.press();
}
