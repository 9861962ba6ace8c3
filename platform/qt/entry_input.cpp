#include "platform/qt/entry_input.h"

#include <optional>

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include "core/app/controls/text_box.h"
#include "platform/qt/qt_call_gate.h"

namespace {

// The character code a key press types, as the key handler sees it: Backspace is one and Ctrl
// with a letter types its control character, as on the desktop the clock was designed for.
// Delete (which X11 hands over as "\x7f"), Tab, the arrows and paste type none.
std::optional<std::int16_t> typedCharacter(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Backspace) return 8;
  if (key.matches(QKeySequence::Paste) || key.text().size() != 1) return std::nullopt;
  const QChar c = key.text().front();
  const bool controlCharacter = key.modifiers() & Qt::ControlModifier && c.unicode() < 0x20;
  if (!c.isPrint() && !controlCharacter) return std::nullopt;
  return static_cast<std::int16_t>(c.unicode());
}

// The part of inserted text that gets in: each character as if typed, control characters never.
QString admitted(TextBox& box, const QString& inserted) {
  QString kept;
  for (const QChar c : inserted) {
    auto code = static_cast<std::int16_t>(c.unicode());
    if (!c.isPrint()) continue;
    if (box.onKeyPress) box.onKeyPress(code);
    if (code != 0) kept += QChar(static_cast<char16_t>(code));
  }
  return kept;
}

class EntryEvents : public QObject {
 public:
  EntryEvents(TextBox& box, QtCallGate& gate, QObject* parent)
      : QObject(parent), box_(box), gate_(gate) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) {
      if (box_.onClick) gate_.deliver(box_.onClick);
    } else if (event->type() == QEvent::KeyPress && box_.onKeyPress) {
      if (auto code = typedCharacter(*static_cast<QKeyEvent*>(event))) {
        box_.onKeyPress(*code);
        return *code == 0;
      }
    }
    return false;
  }

 private:
  TextBox& box_;
  QtCallGate& gate_;
};

// Sees every change of the text, however it came, and keeps of the inserted part what gets in,
// up to the box's length. The part is what differs from the text before the change.
class EntryValidator : public QValidator {
 public:
  EntryValidator(TextBox& box, QLineEdit& entry)
      : QValidator(&entry), box_(box), before_(entry.text()) {
    connect(&entry, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
  }

  State validate(QString& input, int& position) const override {
    const qsizetype common = std::min(before_.size(), input.size());
    qsizetype head = 0;
    while (head < common && before_[head] == input[head]) ++head;
    qsizetype tail = 0;
    while (tail < common - head &&
           before_[before_.size() - 1 - tail] == input[input.size() - 1 - tail]) {
      ++tail;
    }
    const QString inserted = input.mid(head, input.size() - head - tail);
    QString kept = admitted(box_, inserted);
    kept.truncate(std::max<qsizetype>(0, box_.maxLength() - (input.size() - inserted.size())));
    if (kept != inserted) {
      input = input.left(head) + kept + input.right(tail);
      position = static_cast<int>(head + kept.size());
    }
    return Acceptable;
  }

 private:
  TextBox& box_;
  QString before_;
};

}  // namespace

void forwardEntryInput(QLineEdit& entry, TextBox& box, QtCallGate& gate) {
  entry.installEventFilter(new EntryEvents(box, gate, &entry));
  entry.setValidator(new EntryValidator(box, entry));
  QObject::connect(&entry, &QLineEdit::textEdited, [&box, &gate](const QString& text) {
    gate.deliver([&box, edited = text.toStdString()] { box.editedByUser(edited); });
  });
}
