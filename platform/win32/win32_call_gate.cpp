#include "platform/win32/win32_call_gate.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/win32/message_loop.h"

namespace {
constexpr UINT runQuietCallsMessage = WM_APP;
}  // namespace

Win32CallGate::Win32CallGate()
    : quietSignal_([this](UINT message, WPARAM, LPARAM) {
        if (message == runQuietCallsMessage) runQuietCalls();
      }) {}

void Win32CallGate::deliver(std::function<void()> call) {
  run(std::move(call), true);
}

void Win32CallGate::deliverTick(std::function<void()> call) {
  run(std::move(call), false);
}

void Win32CallGate::run(std::function<void()> call, bool byUser) {
  if (clipPlaying_) {
    waiting_.push_back([this, call = std::move(call), byUser] { run(call, byUser); });
    return;
  }
  ++depth_;
  call();
  --depth_;
  if (byUser && afterUserCall) afterUserCall();
  if (depth_ == 0 && !quiet_.empty())
    PostMessageW(quietSignal_.handle(), runQuietCallsMessage, 0, 0);
}

void Win32CallGate::whenQuiet(std::function<void()> call) {
  quiet_.push_back(std::move(call));
  PostMessageW(quietSignal_.handle(), runQuietCallsMessage, 0, 0);
}

// Posted, so that it runs from the message loop; from inside a handler's pump or dialog it waits
// for the handler to end.
void Win32CallGate::runQuietCalls() {
  while (depth_ == 0 && !clipPlaying_ && !quiet_.empty()) {
    std::function<void()> call = std::move(quiet_.front());
    quiet_.pop_front();
    deliver(std::move(call));
  }
}

void Win32CallGate::whileClipPlays() {
  clipPlaying_ = true;
  dispatchPendingMessages();
  clipPlaying_ = false;
}

// What waited behind a clip came before anything still queued, so it runs first.
void Win32CallGate::processPendingEvents() {
  while (!waiting_.empty()) {
    const std::function<void()> call = std::move(waiting_.front());
    waiting_.pop_front();
    call();
  }
  dispatchPendingMessages();
}

// Windows releases the instance mutex and the sound device with the process. Terminated rather
// than exited: a sound worker stuck in a driver could hold up an orderly exit.
void Win32CallGate::endProgram() {
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), 0);
  std::_Exit(0);
}
