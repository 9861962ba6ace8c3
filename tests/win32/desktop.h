#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/message_loop.h"
#include "platform/win32/windows_headers.h"

// Runs the thread's message loop, as the program's loop would, until the condition holds or the
// time is up; whether it holds.
inline bool runMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    dispatchPendingMessages();
  }
  return true;
}

inline void runMessagesFor(DWORD ms) {
  runMessagesUntil([] { return false; }, ms);
}

// Input as the keyboard gives it, to the window that has the keyboard; returns once it has been
// handled.
inline void sendKeys(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  runMessagesUntil(
      [] {
        MSG pending;
        return !PeekMessageW(&pending, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE);
      },
      1000);
}

inline INPUT key(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// A key pressed and released, with the modifiers held around it.
inline void press(WORD virtualKey, std::vector<WORD> modifiers = {}) {
  std::vector<INPUT> inputs;
  for (const WORD modifier : modifiers) inputs.push_back(key(modifier, false));
  inputs.push_back(key(virtualKey, false));
  inputs.push_back(key(virtualKey, true));
  for (const WORD modifier : modifiers) inputs.push_back(key(modifier, true));
  sendKeys(inputs);
}

// Characters typed as a keyboard of any layout types them.
inline void type(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (const wchar_t c : text) {
    for (const bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  sendKeys(inputs);
}

inline std::wstring windowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}
