#include "platform/qt/control_widget.h"

#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "platform/common/control_kinds.h"
#include "platform/qt/entry_input.h"
#include "platform/qt/qt_call_gate.h"

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

ControlWidget createWidget(Label& label, QWidget* parent, QtCallGate&) {
  auto* widget = new QLabel(parent);
  // Qt settles a widget's accessible interface at its first text change; the name must be there
  // before, so that a named display gets the interface that reads out its digits.
  widget->setAccessibleName(qt(label.accessibleName));
  widget->setText(qt(label.caption()));
  applyLook(*widget, label.look(), QPalette::WindowText, QPalette::Window);
  if (label.look().border) widget->setFrameStyle(QFrame::Box | QFrame::Plain);
  if (label.look().centred) widget->setAlignment(Qt::AlignCenter);
  const bool autoSize = label.look().autoSize;
  return {widget, [&label, widget, autoSize](Property property) {
            if (property == Property::caption) {
              widget->setText(qt(label.caption()));
              if (autoSize) widget->adjustSize();
            } else if (property == Property::repaintNow) {
              widget->repaint();
            }
          }};
}

ControlWidget createWidget(TextBox& box, QWidget* parent, QtCallGate& gate) {
  auto* widget = new QLineEdit(qt(box.text()), parent);
  forwardEntryInput(*widget, box, gate);
  applyLook(*widget, box.look(), QPalette::Text, QPalette::Base);
  if (box.look().centred) widget->setAlignment(Qt::AlignCenter);
  return {widget, [&box, widget](Property property) {
            if (property == Property::text) widget->setText(qt(box.text()));
          }};
}

ControlWidget createWidget(OptionButton& option, QWidget* parent, QtCallGate& gate) {
  // Qt's own exclusivity agrees with the model's group (all its buttons share one frame), and
  // keeps the buttons announced as radio buttons to screen readers.
  auto* widget = new QRadioButton(qt(option.caption()), parent);
  widget->setChecked(option.value());
  QObject::connect(widget, &QRadioButton::clicked,
                   [&option, &gate] { gate.deliver([&option] { option.select(); }); });
  return {widget, [&option, widget](Property property) {
            if (property == Property::value) widget->setChecked(option.value());
            if (property == Property::focus) widget->setFocus();
          }};
}

ControlWidget createWidget(CommandButton& button, QWidget* parent, QtCallGate& gate) {
  auto* widget = new QPushButton(qt(button.caption()), parent);
  QObject::connect(widget, &QPushButton::clicked,
                   [&button, &gate] { gate.deliver([&button] { button.press(); }); });
  return {widget, {}};
}

ControlWidget createWidget(Frame& frame, QWidget* parent, QtCallGate&) {
  return {new QGroupBox(qt(frame.caption()), parent), {}};
}

}  // namespace

ControlWidget createControlWidget(Control& control, QWidget* parent, const PixelRect& place,
                                  QtCallGate& gate) {
  const ControlWidget made =
      visitControl(control, [&](auto& shown) { return createWidget(shown, parent, gate); });
  QWidget* widget = made.widget;
  widget->setObjectName(qt(control.name()));
  if (!control.accessibleName.empty()) widget->setAccessibleName(qt(control.accessibleName));
  widget->setGeometry(place.left, place.top, place.width, place.height);
  if (control.look().autoSize) widget->adjustSize();
  widget->setEnabled(control.enabled());
  return made;
}
