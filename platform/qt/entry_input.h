#pragma once

class QLineEdit;
class QtCallGate;
class TextBox;

// Forwards a text box's clicks, typed characters and edits to its control. Typed characters pass
// the control's key handler, which may drop them; keys that type nothing (Delete, the arrows,
// Home, End, Tab) keep working. Text that arrives without a typed key (paste, a dead key, compose,
// an input method, a drop) gets in only as far as each of its characters would, typed.
void forwardEntryInput(QLineEdit& entry, TextBox& box, QtCallGate& gate);
