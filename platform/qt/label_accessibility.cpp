#include "platform/qt/label_accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

class NamedLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit NamedLabelAccessible(QLabel* label)
      : QAccessibleWidget(label, QAccessible::StaticText), label_(label) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(int start, int end) const override { return shown().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(shown().size()); }
  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Value ? shown() : QAccessibleWidget::text(kind);
  }

  // A display is read, never edited or selected.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = *end = 0;
    return {};
  }

 private:
  QString shown() const { return label_->text(); }
  QLabel* label_;
};

QAccessibleInterface* namedLabelFactory(const QString&, QObject* object) {
  auto* label = qobject_cast<QLabel*>(object);
  if (label && !label->accessibleName().isEmpty()) return new NamedLabelAccessible(label);
  return nullptr;
}

}  // namespace

void installLabelAccessibility() {
  QAccessible::installFactory(namedLabelFactory);
}
