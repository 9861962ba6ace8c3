#include "platform/qt/control_widgets.h"

#include <QColor>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "app/controls/command_button.h"
#include "app/controls/frame.h"
#include "app/controls/label.h"
#include "app/controls/option_button.h"
#include "app/controls/text_box.h"

namespace {

QString qt(const std::string& text) {
  return QString::fromStdString(text);
}
QColor qt(Rgb rgb) {
  return {rgb.red, rgb.green, rgb.blue};
}

void applyLook(QWidget& widget, const Look& look, QPalette::ColorRole textRole,
               QPalette::ColorRole backgroundRole) {
  if (look.font) {
    QFont font(qt(look.font->family));
    font.setPointSizeF(look.font->points);
    font.setBold(look.font->bold);
    widget.setFont(font);
  }
  QPalette palette = widget.palette();
  if (look.foreground) palette.setColor(textRole, qt(*look.foreground));
  if (look.background) {
    palette.setColor(backgroundRole, qt(*look.background));
    widget.setAutoFillBackground(true);
  }
  widget.setPalette(palette);
}

QWidget* createLabel(Label& label, QWidget* parent) {
  auto* widget = new QLabel(parent);
  // Qt settles a widget's accessible interface at its first text change; the name must be there
  // before, so that a named display gets the interface that reads out its digits.
  widget->setAccessibleName(qt(label.accessibleName));
  widget->setText(qt(label.caption()));
  applyLook(*widget, label.look(), QPalette::WindowText, QPalette::Window);
  if (label.look().border) widget->setFrameStyle(QFrame::Box | QFrame::Plain);
  if (label.look().centred) widget->setAlignment(Qt::AlignCenter);
  const bool autoSize = label.look().autoSize;
  label.viewHook = [&label, widget, autoSize](Property property) {
    if (property == Property::caption) {
      widget->setText(qt(label.caption()));
      if (autoSize) widget->adjustSize();
    } else if (property == Property::repaintNow) {
      widget->repaint();
    }
  };
  return widget;
}

// Forwards clicks and typed characters of a text box to its control; a character the control's
// key handler sets to 0 is not inserted. Keys without a character (arrows, Delete) pass untouched.
class TextBoxEvents : public QObject {
 public:
  TextBoxEvents(TextBox& box, QObject* parent) : QObject(parent), box_(box) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) {
      if (box_.onClick) box_.onClick();
    } else if (event->type() == QEvent::KeyPress) {
      const QString text = static_cast<QKeyEvent*>(event)->text();
      if (text.size() == 1 && box_.onKeyPress) {
        auto code = static_cast<std::int16_t>(text.front().unicode());
        box_.onKeyPress(code);
        return code == 0;
      }
    }
    return false;
  }

 private:
  TextBox& box_;
};

QWidget* createTextBox(TextBox& box, QWidget* parent) {
  auto* widget = new QLineEdit(qt(box.text()), parent);
  widget->installEventFilter(new TextBoxEvents(box, widget));
  applyLook(*widget, box.look(), QPalette::Text, QPalette::Base);
  widget->setMaxLength(box.maxLength());
  if (box.look().centred) widget->setAlignment(Qt::AlignCenter);
  QObject::connect(widget, &QLineEdit::textEdited,
                   [&box](const QString& text) { box.editedByUser(text.toStdString()); });
  box.viewHook = [&box, widget](Property property) {
    if (property == Property::text) widget->setText(qt(box.text()));
  };
  return widget;
}

QWidget* createOptionButton(OptionButton& option, QWidget* parent) {
  // Qt's own exclusivity agrees with the model's group (all its buttons share one frame), and
  // keeps the buttons announced as radio buttons to screen readers.
  auto* widget = new QRadioButton(qt(option.caption()), parent);
  widget->setChecked(option.value());
  QObject::connect(widget, &QRadioButton::clicked, [&option] { option.select(); });
  option.viewHook = [&option, widget](Property property) {
    if (property == Property::value) widget->setChecked(option.value());
    if (property == Property::focus) widget->setFocus();
  };
  return widget;
}

QWidget* createCommandButton(CommandButton& button, QWidget* parent) {
  auto* widget = new QPushButton(qt(button.caption()), parent);
  QObject::connect(widget, &QPushButton::clicked, [&button] { button.press(); });
  return widget;
}

QWidget* createFrame(Frame& frame, QWidget* parent) {
  return new QGroupBox(qt(frame.caption()), parent);
}

QWidget* createByKind(Control& control, QWidget* parent) {
  if (auto* label = dynamic_cast<Label*>(&control)) return createLabel(*label, parent);
  if (auto* box = dynamic_cast<TextBox*>(&control)) return createTextBox(*box, parent);
  if (auto* option = dynamic_cast<OptionButton*>(&control)) {
    return createOptionButton(*option, parent);
  }
  if (auto* button = dynamic_cast<CommandButton*>(&control)) {
    return createCommandButton(*button, parent);
  }
  return createFrame(dynamic_cast<Frame&>(control), parent);
}

}  // namespace

QWidget* createControlWidget(Control& control, QWidget* parent,
                             const std::function<int(int)>& twipsToPixels) {
  QWidget* widget = createByKind(control, parent);
  widget->setObjectName(qt(control.name()));
  if (!control.accessibleName.empty()) widget->setAccessibleName(qt(control.accessibleName));
  const Bounds& b = control.bounds();
  widget->setGeometry(twipsToPixels(b.left), twipsToPixels(b.top), twipsToPixels(b.width),
                      twipsToPixels(b.height));
  if (control.look().autoSize) widget->adjustSize();
  widget->setEnabled(control.enabled());
  return widget;
}
