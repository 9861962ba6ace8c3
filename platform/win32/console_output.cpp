#include "platform/win32/console_output.h"

#include "platform/win32/unique_handles.h"
#include "platform/win32/wide_text.h"

namespace {

HANDLE standardHandle(StandardStream stream) {
  return GetStdHandle(stream == StandardStream::output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool usable(HANDLE handle) {
  return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The starter's console, opened once; nothing where there is none.
HANDLE starterConsole() {
  static const UniqueHandle console = [] {
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) {
      return UniqueHandle();
    }
    return UniqueHandle(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
  }();
  return console ? console.get() : INVALID_HANDLE_VALUE;
}

}  // namespace

bool writeToStarter(StandardStream stream, std::string_view text) {
  HANDLE handle = standardHandle(stream);
  DWORD mode = 0;
  if (!usable(handle)) handle = starterConsole();
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = widen(text);
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  }
  return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void tellStarter(StandardStream stream, std::string_view text) {
  if (writeToStarter(stream, text)) return;
  while (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  const UINT icon = stream == StandardStream::error ? MB_ICONWARNING : MB_ICONINFORMATION;
  MessageBoxW(nullptr, widen(text).c_str(), L"Die Lurvendel", MB_OK | icon | MB_SETFOREGROUND);
}
