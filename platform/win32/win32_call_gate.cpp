#include "platform/win32/win32_call_gate.h"

#include <cstdio>
#include <cstdlib>

#include "platform/win32/message_loop.h"

namespace {
constexpr UINT runQuietCallsMessage = WM_APP;
}  // namespace

Win32CallGate::Win32CallGate()
    : quietSignal_([this](UINT message, WPARAM, LPARAM) {
        if (message == runQuietCallsMessage) runQuietCalls();
      }) {}

void Win32CallGate::dispatchPendingEvents() {
  dispatchPendingMessages();
}

// Posted, so that it runs from the message loop, also inside a message box or a menu.
void Win32CallGate::scheduleQuietCalls() {
  PostMessageW(quietSignal_.handle(), runQuietCallsMessage, 0, 0);
}

// Windows releases the instance mutex and the sound device with the process. Terminated rather
// than exited: a sound worker stuck in a driver could hold up an orderly exit.
void Win32CallGate::endProgram() {
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), 0);
  std::_Exit(0);
}
