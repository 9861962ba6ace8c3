#include "platform/qt/qt_call_gate.h"

#include <cstdio>
#include <unistd.h>

#include <QCoreApplication>

void QtCallGate::deliver(std::function<void()> call) {
  if (clipPlaying_) {
    waiting_.push_back(std::move(call));
  } else {
    call();
  }
}

void QtCallGate::whileClipPlays() {
  clipPlaying_ = true;
  QCoreApplication::processEvents();
  clipPlaying_ = false;
}

// What waited behind a clip came before anything Qt still holds, so it runs first.
void QtCallGate::processPendingEvents() {
  while (!waiting_.empty()) {
    const std::function<void()> call = std::move(waiting_.front());
    waiting_.pop_front();
    call();
  }
  QCoreApplication::processEvents();
}

// The kernel releases the instance lock and the sound device, and the display server drops the
// window and the notification icon, with the process.
void QtCallGate::endProgram() {
  std::fflush(nullptr);
  _exit(0);
}
