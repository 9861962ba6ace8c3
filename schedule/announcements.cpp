#include "app/frm_uhr.h"

void frmUhr::Label4_Change() {}

void frmUhr::Label5_Change() {}

void frmUhr::Label6_Change() {}
