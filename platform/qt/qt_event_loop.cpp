#include "platform/qt/qt_event_loop.h"

#include <QCoreApplication>

void QtEventLoop::processPendingEvents() {
  if (!ended_) QCoreApplication::processEvents();
}

void QtEventLoop::endProgram() {
  ended_ = true;
  // Leaves every running event loop, nested ones (menus, message boxes) included.
  QCoreApplication::exit(0);
}
