#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QWidget>

#include "core/ports/window_host.h"
#include "platform/common/window_mirror.h"
#include "platform/qt/control_widget.h"
#include "platform/qt/qt_call_gate.h"
#include "platform/qt/qt_popup_menu.h"

class frmUhr;

// The real top-level window. It only mirrors the window model and forwards the user's actions
// and the window's own events (paint, close) to it, through the call gate.
class QtWindowHost : public QWidget, public WindowHost, private NativeControls {
 public:
  explicit QtWindowHost(QtCallGate& gate);

  // Builds the widgets of every control, which forward to the model until detach().
  void attach(frmUhr& form);
  void detach();

  void setCaption(const std::string& caption) override;
  void setOuterWidthTwips(int twips) override;
  void makeTopmost() override;
  // The port's, which hide QWidget's own.
  void show() override { QWidget::show(); }
  void hide() override { QWidget::hide(); }
  void repaintNow() override;
  bool isVisible() const override { return QWidget::isVisible(); }
  bool isMinimized() const override { return QWidget::isMinimized(); }
  void restore() override;
  // Restored if minimised, mapped again if another program unmapped it, raised above the other
  // windows and given the keyboard.
  void bringToFront();
  void popupMenu(MenuItemId defaultItem) override;
  // The popup menu, for a notification area that shows it by itself.
  QMenu& contextMenu() { return popup_->menu(); }
  std::uint32_t nativeHandle() const override;
  std::uint32_t iconHandle() const override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool nativeEvent(const QByteArray& type, void* message, qintptr* result) override;

 private:
  void setControlShown(const Control& control, bool shown) override;
  void setControlEnabled(const Control& control, bool enabled) override;
  void updateControl(const Control& control, Property property) override;
  void forwardMouseMove(QPoint at);
  void applyOuterWidth();
  void fixClientSize(int width, int height);
  void setTabOrder(const std::vector<Control*>& controls);

  QtCallGate& gate_;
  WindowMirror mirror_;
  std::map<const Control*, ControlWidget> widgets_;
  std::unique_ptr<QtPopupMenu> popup_;
  // Unmapped while Qt takes it for shown: by another program.
  bool unmappedFromOutside_ = false;
};
