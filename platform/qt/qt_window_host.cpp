#include "platform/qt/qt_window_host.h"

#include <algorithm>
#include <cmath>
#include <xcb/xcb.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "core/app/frm_uhr.h"
#include "platform/qt/control_widgets.h"

namespace {

// The border the window was designed with: its outer width less its client width.
constexpr int designBorderTwips = 120;

}  // namespace

QtWindowHost::QtWindowHost(QtCallGate& gate) : gate_(gate) {
  setWindowTitle(QString::fromUtf8(frmUhr::designCaption));
  QIcon icon;
  for (const int size : {16, 32, 48}) icon.addFile(QString(":/lurvendel-%1.png").arg(size));
  setWindowIcon(icon);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

void QtWindowHost::attach(frmUhr& form) {
  form_ = &form;
  const auto twipsToPixels = [this](int twips) { return pixels(twips); };
  controls_ = form.controls();
  for (Control* control : controls_) {
    QWidget* parent = control->container() ? mirrors_.at(control->container()).widget : this;
    const ControlWidget made = createControlWidget(*control, parent, twipsToPixels, gate_);
    mirrors_[control] = {made.widget, made.update};
    control->viewHook = [this, control](Property property) {
      Mirror& mirror = mirrors_.at(control);
      if (property == Property::visible) {
        updateVisibility(*control);
      } else if (property == Property::enabled) {
        mirror.widget->setEnabled(control->enabled());
      } else if ((property == Property::caption || property == Property::text) &&
                 !mirror.widget->isVisibleTo(this)) {
        mirror.stale = true;
      } else if (mirror.apply) {
        mirror.apply(property);
      }
    };
    updateVisibility(*control);
  }
  setTabOrder(form.controls());
  popup_ = std::make_unique<QtPopupMenu>(form.mnuPopUp, gate_);
  // Mouse moves anywhere over the window reach the model, also over its controls.
  setMouseTracking(true);
  for (const auto& [control, mirror] : mirrors_) {
    mirror.widget->setMouseTracking(true);
    mirror.widget->installEventFilter(this);
  }
  fixClientSize(pixels(frmUhr::designClientWidthTwips), pixels(frmUhr::designClientHeightTwips));
}

// The widgets go before the model does: a line edit that loses the focus as it goes still asks
// its control.
void QtWindowHost::detach() {
  for (const Control* control : controls_) {
    if (!control->container()) delete mirrors_.at(control).widget;  // with what it contains
  }
  mirrors_.clear();
  popup_.reset();
  form_ = nullptr;
}

void QtWindowHost::setOuterWidthTwips(int twips) {
  outerWidthTwips_ = twips;
  applyOuterWidth();
  // Containers first, so that what they hold knows whether it has come into view.
  for (const Control* control : controls_) updateVisibility(*control);
}

void QtWindowHost::setCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void QtWindowHost::restore() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
}

void QtWindowHost::bringToFront() {
  restore();
  raise();
  activateWindow();
}

void QtWindowHost::makeTopmost() {
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void QtWindowHost::show() {
  QWidget::show();
}

void QtWindowHost::hide() {
  QWidget::hide();
}

void QtWindowHost::popupMenu(MenuItemId defaultItem) {
  popup_->exec(defaultItem);
}

void QtWindowHost::repaintNow() {
  repaint();
  if (form_) form_->Form_Paint();
}

std::uint32_t QtWindowHost::nativeHandle() const {
  return static_cast<std::uint32_t>(winId());
}

std::uint32_t QtWindowHost::iconHandle() const {
  return static_cast<std::uint32_t>(windowIcon().cacheKey());
}

void QtWindowHost::paintRequested() {
  if (form_) gate_.deliver([this] { form_->Form_Paint(); });
}

// Ending at once does not wait for a clip that is playing; the question asked while an alarm is
// armed does.
void QtWindowHost::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (!form_) return;
  if (form_->closeAsks()) {
    gate_.deliver([this] { form_->requestClose(); });
  } else {
    form_->requestClose();
  }
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
  paintRequested();
}

// The tick reads whether the window is minimised.
void QtWindowHost::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) gate_.userActed();
}

double QtWindowHost::twipsPerPixelX() const {
  return 1440.0 / screen()->logicalDotsPerInchX();
}

int QtWindowHost::pixels(int twips) const {
  return static_cast<int>(std::lround(twips / twipsPerPixelX()));
}

bool QtWindowHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle()) {
    if (event->type() == QEvent::Expose && windowHandle()->isExposed()) paintRequested();
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
  if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY &&
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
  if (!form_) return;
  const double tpp = twipsPerPixelX();
  const auto x = static_cast<float>(at.x() * tpp);
  const auto y = static_cast<float>(at.y() * tpp);
  gate_.deliver([this, x, y] { form_->Form_MouseMove(0, 0, x, y); });
}

void QtWindowHost::applyOuterWidth() {
  if (outerWidthTwips_ == 0) return;
  const int frameWidth = isVisible() ? frameGeometry().width() - width() : 0;
  const int clientWidth = pixels(outerWidthTwips_) - frameWidth;
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

// What lies beyond the client area of the current width is out of view, as on the designed
// window; a window manager with thinner borders must not show a sliver of it.
bool QtWindowHost::inView(const Control& control) const {
  if (control.container() || outerWidthTwips_ == 0) return true;
  return control.bounds().left < outerWidthTwips_ - designBorderTwips;
}

void QtWindowHost::updateVisibility(const Control& control) {
  Mirror& mirror = mirrors_.at(&control);
  mirror.widget->setVisible(control.visible() && inView(control));
  if (mirror.stale && mirror.widget->isVisibleTo(this) && mirror.apply) {
    mirror.stale = false;
    mirror.apply(Property::caption);
    mirror.apply(Property::text);
  }
}

void QtWindowHost::setTabOrder(const std::vector<Control*>& controls) {
  std::vector<Control*> ordered = controls;
  std::sort(ordered.begin(), ordered.end(),
            [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
  // Qt ignores a pair with a widget that takes no focus (a label, a frame), which would break the
  // chain into pieces.
  QWidget* previous = nullptr;
  for (const Control* control : ordered) {
    QWidget* widget = mirrors_.at(control).widget;
    if (!(widget->focusPolicy() & Qt::TabFocus)) continue;
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}
