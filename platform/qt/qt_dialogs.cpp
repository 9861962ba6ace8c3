#include "platform/qt/qt_dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>

namespace {

QMessageBox::Icon iconOf(int style) {
  switch (style & 0x70) {
    case msgbox::critical:
      return QMessageBox::Critical;
    case msgbox::question:
      return QMessageBox::Question;
    case msgbox::exclamation:
      return QMessageBox::Warning;
    case msgbox::information:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

msgbox::Answer QtDialogs::messageBox(const std::string& text, int style, const std::string& title) {
  const bool yesNo = (style & 0x0f) == msgbox::yesNo;
  QMessageBox box(iconOf(style), QString::fromStdString(title), QString::fromStdString(text),
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent_);
  // The clock speaks German whatever the locale, with the access keys German desktops give.
  for (const auto& [button, caption] :
       {std::pair{QMessageBox::Yes, "&Ja"}, {QMessageBox::No, "&Nein"}, {QMessageBox::Ok, "OK"}}) {
    if (QAbstractButton* shown = box.button(button)) shown->setText(caption);
  }
  const int pressed = box.exec();
  if (!yesNo) return msgbox::Answer::ok;
  return pressed == QMessageBox::Yes ? msgbox::Answer::yes : msgbox::Answer::no;
}
