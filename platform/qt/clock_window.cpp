#include "platform/qt/clock_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/frm_uhr.h"
#include "platform/qt/control_widgets.h"

namespace {

// The border the window was designed with: its outer width less its client width.
constexpr int designBorderTwips = 120;

}  // namespace

ClockWindow::ClockWindow() {
  setWindowTitle(QString::fromUtf8(frmUhr::designCaption));
  QIcon icon;
  for (const int size : {16, 32, 48}) icon.addFile(QString(":/lurvendel-%1.png").arg(size));
  setWindowIcon(icon);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

void ClockWindow::attach(frmUhr& form) {
  form_ = &form;
  const auto twipsToPixels = [this](int twips) { return pixels(twips); };
  controls_ = form.controls();
  for (Control* control : controls_) {
    QWidget* parent = control->container() ? mirrors_.at(control->container()).widget : this;
    QWidget* widget = createControlWidget(*control, parent, twipsToPixels);
    mirrors_[control] = {widget, std::move(control->viewHook)};
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
  popup_ = std::make_unique<PopupMenu>(form.mnuPopUp);
  // Mouse moves anywhere over the window reach the model, also over its controls.
  setMouseTracking(true);
  for (const auto& [control, mirror] : mirrors_) {
    mirror.widget->setMouseTracking(true);
    mirror.widget->installEventFilter(this);
  }
  setFixedHeight(pixels(frmUhr::designClientHeightTwips));
  resize(pixels(frmUhr::designClientWidthTwips), height());
}

void ClockWindow::setOuterWidthTwips(int twips) {
  outerWidthTwips_ = twips;
  applyOuterWidth();
  // Containers first, so that what they hold knows whether it has come into view.
  for (const Control* control : controls_) updateVisibility(*control);
}

void ClockWindow::setCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void ClockWindow::restore() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
}

void ClockWindow::makeTopmost() {
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void ClockWindow::show() {
  QWidget::show();
}

void ClockWindow::hide() {
  QWidget::hide();
}

void ClockWindow::popupMenu(const MenuItem&, const MenuItem* defaultItem) {
  popup_->exec(defaultItem);
}

void ClockWindow::repaintNow() {
  repaint();
}

void ClockWindow::destroy() {
  hide();
}

std::uint32_t ClockWindow::nativeHandle() const {
  return static_cast<std::uint32_t>(winId());
}

std::uint32_t ClockWindow::iconHandle() const {
  return static_cast<std::uint32_t>(windowIcon().cacheKey());
}

void ClockWindow::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (form_) form_->Form_Paint();
}

void ClockWindow::closeEvent(QCloseEvent* event) {
  if (form_ && !form_->requestClose()) {
    event->ignore();
  } else {
    event->accept();
  }
}

// The window manager's frame is known only once the window is mapped and reparented.
void ClockWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  applyOuterWidth();
}

void ClockWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  applyOuterWidth();
}

double ClockWindow::twipsPerPixelX() const {
  return 1440.0 / screen()->logicalDotsPerInchX();
}

int ClockWindow::pixels(int twips) const {
  return static_cast<int>(std::lround(twips / twipsPerPixelX()));
}

bool ClockWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    const QPoint local = static_cast<QMouseEvent*>(event)->position().toPoint();
    forwardMouseMove(static_cast<QWidget*>(watched)->mapTo(this, local));
  }
  return false;
}

void ClockWindow::mouseMoveEvent(QMouseEvent* event) {
  forwardMouseMove(event->position().toPoint());
}

void ClockWindow::forwardMouseMove(QPoint at) {
  if (!form_) return;
  const double tpp = twipsPerPixelX();
  form_->Form_MouseMove(0, 0, static_cast<float>(at.x() * tpp), static_cast<float>(at.y() * tpp));
}

void ClockWindow::applyOuterWidth() {
  if (outerWidthTwips_ == 0) return;
  const int frameWidth = isVisible() ? frameGeometry().width() - width() : 0;
  const int clientWidth = pixels(outerWidthTwips_) - frameWidth;
  if (clientWidth != width()) setFixedWidth(clientWidth);
}

// What lies beyond the client area of the current width is out of view, as on the designed
// window; a window manager with thinner borders must not show a sliver of it.
bool ClockWindow::inView(const Control& control) const {
  if (control.container() || outerWidthTwips_ == 0) return true;
  return control.bounds().left < outerWidthTwips_ - designBorderTwips;
}

void ClockWindow::updateVisibility(const Control& control) {
  Mirror& mirror = mirrors_.at(&control);
  mirror.widget->setVisible(control.visible() && inView(control));
  if (mirror.stale && mirror.widget->isVisibleTo(this) && mirror.apply) {
    mirror.stale = false;
    mirror.apply(Property::caption);
    mirror.apply(Property::text);
  }
}

void ClockWindow::setTabOrder(const std::vector<Control*>& controls) {
  std::vector<Control*> ordered = controls;
  std::sort(ordered.begin(), ordered.end(),
            [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
  for (size_t i = 1; i < ordered.size(); ++i) {
    QWidget::setTabOrder(mirrors_.at(ordered[i - 1]).widget, mirrors_.at(ordered[i]).widget);
  }
}
