#include "platform/qt/qt_window_host.h"

#include <utility>
#include <xcb/xcb.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "core/app/frm_uhr.h"
#include "platform/qt/control_widget.h"

QtWindowHost::QtWindowHost(QtCallGate& gate)
    : gate_(gate), mirror_(gate, [this] { return screen()->logicalDotsPerInchX(); }) {
  setWindowTitle(QString::fromUtf8(frmUhr::designCaption));
  QIcon icon;
  for (const int size : {16, 32, 48}) icon.addFile(QString(":/lurvendel-%1.png").arg(size));
  setWindowIcon(icon);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

// Containers come before what they hold, which the widgets of the containers take in.
void QtWindowHost::attach(frmUhr& form) {
  const std::vector<Control*> controls = form.controls();
  for (Control* control : controls) {
    QWidget* parent = control->container() ? widgets_.at(control->container()).widget : this;
    widgets_[control] =
        createControlWidget(*control, parent, mirror_.placeOf(*control, false), gate_);
  }
  setTabOrder(WindowMirror::tabOrder(controls));
  popup_ = std::make_unique<QtPopupMenu>(form.mnuPopUp, gate_);
  mirror_.attach(form, *this);
  // Mouse moves anywhere over the window reach the model, also over its controls.
  setMouseTracking(true);
  for (const auto& [control, made] : widgets_) {
    made.widget->setMouseTracking(true);
    made.widget->installEventFilter(this);
  }
  fixClientSize(mirror_.pixels(frmUhr::designClientWidthTwips),
                mirror_.pixels(frmUhr::designClientHeightTwips));
}

// The widgets go before the model does: a line edit that loses the focus as it goes still asks
// its control.
void QtWindowHost::detach() {
  mirror_.detach();
  for (const auto& [control, made] : widgets_) {
    if (!control->container()) delete made.widget;  // with what it contains
  }
  widgets_.clear();
  popup_.reset();
}

void QtWindowHost::setOuterWidthTwips(int twips) {
  mirror_.setOuterWidthTwips(twips);
  applyOuterWidth();
}

void QtWindowHost::setCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void QtWindowHost::restore() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
}

void QtWindowHost::bringToFront() {
  if (std::exchange(unmappedFromOutside_, false)) {
    QWidget::hide();
    QWidget::show();
  }
  restore();
  raise();
  activateWindow();
}

void QtWindowHost::makeTopmost() {
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void QtWindowHost::popupMenu(MenuItemId defaultItem) {
  popup_->exec(defaultItem);
}

void QtWindowHost::repaintNow() {
  repaint();
  if (frmUhr* form = mirror_.form()) form->Form_Paint();
}

std::uint32_t QtWindowHost::nativeHandle() const {
  return static_cast<std::uint32_t>(winId());
}

std::uint32_t QtWindowHost::iconHandle() const {
  return static_cast<std::uint32_t>(windowIcon().cacheKey());
}

void QtWindowHost::closeEvent(QCloseEvent* event) {
  event->ignore();
  mirror_.closeRequested();
}

// The window manager's frame is known only once the window is mapped and reparented. The window
// itself needs painting when it is exposed: a child's repaint (a button under the pointer) is not
// the window's. Its native window exists by now, and a change of flags may have made it anew.
void QtWindowHost::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  applyOuterWidth();
  windowHandle()->installEventFilter(this);
}

void QtWindowHost::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  applyOuterWidth();
}

void QtWindowHost::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  mirror_.paintRequested();
}

// The tick reads whether the window is minimised.
void QtWindowHost::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) gate_.userActed();
}

bool QtWindowHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle()) {
    if (event->type() == QEvent::Expose && windowHandle()->isExposed()) mirror_.paintRequested();
  } else if (event->type() == QEvent::MouseMove) {
    const QPoint local = static_cast<QMouseEvent*>(event)->position().toPoint();
    forwardMouseMove(static_cast<QWidget*>(watched)->mapTo(this, local));
  }
  return false;
}

void QtWindowHost::mouseMoveEvent(QMouseEvent* event) {
  forwardMouseMove(event->position().toPoint());
}

// Another program may destroy the window (a misbehaving tool, a slip with xkill's kin): Qt would
// go on as if it stood, and the clock would run on out of sight and reach. The window is made anew
// instead, and shown if it was, so that nothing the user set up, an armed alarm above all, is lost.
bool QtWindowHost::nativeEvent(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  const std::uint8_t kind = event->response_type & 0x7f;
  if (kind == XCB_UNMAP_NOTIFY &&
      reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window == windowHandle()->winId()) {
    unmappedFromOutside_ = isVisible();
  } else if (kind == XCB_MAP_NOTIFY) {
    unmappedFromOutside_ = false;
  }
  if (kind == XCB_DESTROY_NOTIFY &&
      reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window ==
          windowHandle()->winId()) {
    QTimer::singleShot(0, this, [this] {
      const bool shown = isVisible();
      destroy();
      create();
      if (shown) QWidget::show();
    });
  }
  return false;
}

void QtWindowHost::forwardMouseMove(QPoint at) {
  mirror_.mouseMoved(at.x(), at.y());
}

void QtWindowHost::applyOuterWidth() {
  if (mirror_.outerWidthTwips() == 0) return;
  const int frameWidth = isVisible() ? frameGeometry().width() - width() : 0;
  const int clientWidth = mirror_.pixels(mirror_.outerWidthTwips()) - frameWidth;
  if (clientWidth != width() && !isMaximized()) fixClientSize(clientWidth, height());
}

// On Wayland, Qt's title bar offers to maximise whatever the window is, and the compositor's
// maximised size must then be obeyed: a fixed size there breaks the connection and ends the clock.
// So the size is a least size there, and the window fills what the compositor gives it.
void QtWindowHost::fixClientSize(int width, int height) {
  if (QGuiApplication::platformName() == "wayland") {
    setMinimumSize(width, height);
  } else {
    setFixedSize(width, height);
  }
  resize(width, height);
}

// Out of view is hidden: a window manager with thinner borders must not show a sliver of it.
void QtWindowHost::setControlShown(const Control& control, bool shown) {
  widgets_.at(&control).widget->setVisible(shown);
}

void QtWindowHost::setControlEnabled(const Control& control, bool enabled) {
  widgets_.at(&control).widget->setEnabled(enabled);
}

void QtWindowHost::updateControl(const Control& control, Property property) {
  if (const ControlWidget& made = widgets_.at(&control); made.update) made.update(property);
}

void QtWindowHost::setTabOrder(const std::vector<Control*>& controls) {
  // Qt ignores a pair with a widget that takes no focus (a label, a frame), which would break the
  // chain into pieces.
  QWidget* previous = nullptr;
  for (const Control* control : controls) {
    QWidget* widget = widgets_.at(control).widget;
    if (!(widget->focusPolicy() & Qt::TabFocus)) continue;
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}
