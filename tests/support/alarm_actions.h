#pragma once

#include <string>

#include "core/app/frm_uhr.h"

// What a person does at the alarm controls, through the same doors the window uses.
namespace alarm_actions {

// Alarm mode, a click into the entry, the entry typed, "Alarm übernehmen" (a button that can be
// clicked only while it is enabled).
inline void arm(frmUhr& form, const std::string& entry) {
  form.Option2.select();
  form.Text5.onClick();
  form.Text5.editedByUser(entry);
  if (form.Command5.enabled()) form.Command5.press();
}

}  // namespace alarm_actions
