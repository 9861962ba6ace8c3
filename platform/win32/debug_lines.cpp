#include "platform/win32/debug_lines.h"

#include <iterator>

#include "platform/common/debug_wanted.h"
#include "platform/win32/console_output.h"
#include "platform/win32/wide_text.h"

// Without the message's closing full stop and line break.
std::string systemWords(DWORD error) {
  wchar_t text[512] = {};
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                     text, static_cast<DWORD>(std::size(text)), nullptr);
  std::wstring words(text, length);
  while (!words.empty() &&
         (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.')) {
    words.pop_back();
  }
  return words.empty() ? "Fehler " + std::to_string(error) : narrow(words);
}

void sayDebugLine(std::string_view line) {
  if (!writeToStarter(StandardStream::error, line)) OutputDebugStringW(widen(line).c_str());
}

void reportFailure(std::string_view missing, std::string_view call, DWORD error) {
  if (!debugWanted()) return;
  std::string line = "lurvendel: " + std::string(missing) + ": " + std::string(call);
  line += error == 0 ? " scheiterte" : ": " + systemWords(error);
  sayDebugLine(line + "\n");
}
