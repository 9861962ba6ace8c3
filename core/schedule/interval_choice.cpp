#include "core/app/frm_uhr.h"

namespace {
constexpr std::array<int, 4> minutesOfOption = {1, 5, 15, 30};
}

int frmUhr::announcementInterval() const {
  int interval = 0;
  for (size_t i = 0; i < Option1.size(); ++i) {
    if (Option1[i].value()) interval = minutesOfOption[i];
  }
  return interval;
}

// Choosing an interval also leaves alarm mode and discards an armed alarm.
void frmUhr::Option1_Click(std::int16_t index) {
  mnuAlarm.setVisible(false);
  for (MenuItem* item : {&mnuEins, &mnuFünf, &mnuDreissig, &mnuFünz}) item->setEnabled(true);
  const std::array<MenuItem*, 4> items = intervalMenuItems();
  for (size_t i = 0; i < items.size(); ++i) items[i]->setChecked(static_cast<int>(i) == index);
  Label7.setVisible(false);
  alarmArmed = 0;
  Label1.setVisible(false);
}

void frmUhr::mnuEins_Click() {
  Option1[0].select();
}
void frmUhr::mnuFünf_Click() {
  Option1[1].select();
}
void frmUhr::mnuFünz_Click() {
  Option1[2].select();
}
void frmUhr::mnuDreissig_Click() {
  Option1[3].select();
}

std::array<MenuItem*, 4> frmUhr::intervalMenuItems() {
  return {&mnuEins, &mnuFünf, &mnuFünz, &mnuDreissig};
}
