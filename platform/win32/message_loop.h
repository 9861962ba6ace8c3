#pragma once

// The thread's message loop, with the keyboard of a window of controls as in a dialog: Tab and
// Shift+Tab go round the controls, the arrows move inside an option group.

// Runs until the program ends; the clock never leaves it otherwise.
int runMessageLoop();
// Dispatches every message that is pending now, then returns.
void dispatchPendingMessages();
