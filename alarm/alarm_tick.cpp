#include "app/frm_uhr.h"

void frmUhr::countdownStep() {}

void frmUhr::alarmStep() {}
