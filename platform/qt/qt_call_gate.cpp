#include "platform/qt/qt_call_gate.h"

#include <cstdio>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>

void QtCallGate::dispatchPendingEvents() {
  QCoreApplication::processEvents();
}

void QtCallGate::scheduleQuietCalls() {
  QTimer::singleShot(0, [this] { runQuietCalls(); });
}

// The kernel releases the instance lock and the sound device, and the display server drops the
// window and the notification icon, with the process.
void QtCallGate::endProgram() {
  std::fflush(nullptr);
  _exit(0);
}
