#pragma once

#include <string>

#include "app/frm_uhr.h"

// What a person does at the alarm controls, through the same doors the window uses.
namespace alarm_actions {

inline void typeEntry(frmUhr& form, const std::string& entry) {
  form.Text5.onClick();
  form.Text5.editedByUser(entry);
}

// Alarm mode, the entry typed, "Alarm übernehmen" (a button that can be clicked only enabled).
inline void arm(frmUhr& form, const std::string& entry) {
  form.Option2.select();
  typeEntry(form, entry);
  if (form.Command5.enabled()) form.Command5.press();
}

}  // namespace alarm_actions
