#include "platform/common/call_gate.h"

#include <utility>

void CallGate::deliver(std::function<void()> call) {
  run(std::move(call), true);
}

void CallGate::deliverTick(std::function<void()> tick) {
  run(std::move(tick), false);
}

void CallGate::userActed() const {
  if (afterUserCall) afterUserCall();
}

void CallGate::run(std::function<void()> call, bool byUser) {
  if (clipPlaying_) {
    waiting_.push_back([this, call = std::move(call), byUser] { run(call, byUser); });
    return;
  }
  ++depth_;
  call();
  --depth_;
  if (byUser) userActed();
  if (depth_ == 0 && !quiet_.empty()) scheduleQuietCalls();
}

void CallGate::whenQuiet(std::function<void()> call) {
  quiet_.push_back(std::move(call));
  scheduleQuietCalls();
}

void CallGate::runQuietCalls() {
  while (quiet() && !quiet_.empty()) {
    std::function<void()> call = std::move(quiet_.front());
    quiet_.pop_front();
    run(std::move(call), false);
  }
}

void CallGate::whileClipPlays() {
  clipPlaying_ = true;
  dispatchPendingEvents();
  clipPlaying_ = false;
}

// What waited behind a clip came before anything the loop still holds, so it runs first.
void CallGate::processPendingEvents() {
  while (!waiting_.empty()) {
    const std::function<void()> call = std::move(waiting_.front());
    waiting_.pop_front();
    call();
  }
  dispatchPendingEvents();
}
