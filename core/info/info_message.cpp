#include <array>

#include "core/app/frm_uhr.h"

std::string frmUhr::infoText() {
  const std::string rule(54, '_');
  const std::array<std::string, 12> lines = {
      "Die Sprach- und Alarmausgabe funktioniert auch bei ",
      "verborgenem Uhrfenster.",
      rule,
      "",
      "Wird das Uhrfenster verborgen, erscheint im SystemTray ein Icon.",
      "",
      "Click mit linker Maustaste auf TrayIcon     -> Zeitansage",
      "Click mit rechter Maustaste auf TrayIcon  -> Funktions-PopUp-Menü",
      rule,
      "",
      "\"Die Lurvendel\";      Codename: \"Borrimax\"",
      rule};
  std::string text = lines.front();
  // The platform's line break between the lines, none after the last.
  for (size_t i = 1; i < lines.size(); ++i) text += "\n" + lines[i];
  return text;
}

void frmUhr::Command7_Click() {
  platform_.dialogs.messageBox(infoText(), msgbox::information, "Die Lurvendel   -    Info ");
}

void frmUhr::mnuInfo_Click() {
  Command7.press();
}
