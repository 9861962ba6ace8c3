#include "platform/qt/qt_call_gate.h"

#include <cstdio>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>

void QtCallGate::deliver(std::function<void()> call) {
  pass([this, call = std::move(call)] {
    call();
    userActed();
  });
}

void QtCallGate::deliverTick(std::function<void()> tick) {
  pass(std::move(tick));
}

void QtCallGate::userActed() const {
  if (afterUserCall) afterUserCall();
}

void QtCallGate::pass(std::function<void()> call) {
  if (clipPlaying_) {
    waiting_.push_back(std::move(call));
    return;
  }
  ++depth_;
  call();
  --depth_;
  if (depth_ == 0 && !quiet_.empty()) runQuietSoon();
}

void QtCallGate::whenQuiet(std::function<void()> call) {
  quiet_.push_back(std::move(call));
  runQuietSoon();
}

void QtCallGate::runQuietSoon() {
  QTimer::singleShot(0, [this] {
    // Run from inside a handler's pump or dialog, they wait for it to end.
    while (depth_ == 0 && !clipPlaying_ && !quiet_.empty()) {
      std::function<void()> call = std::move(quiet_.front());
      quiet_.pop_front();
      pass(std::move(call));
    }
  });
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
