#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/common/command_line.h"
#include "platform/common/voice_folder.h"
#include "platform/win32/console_output.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock_contact.h"
#include "platform/win32/win32_clock_program.h"
#include "platform/win32/win32_instance_lock.h"

namespace {

std::vector<std::string> arguments() {
  int count = 0;
  const UniqueLocal<wchar_t**> given(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(narrow(given.get()[i]));
  return arguments;
}

// The user's voice folder, %APPDATA%\Die Lurvendel\Stimme; none where APPDATA is not set.
std::filesystem::path voiceFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  if (!appData || !*appData) return {};
  return std::filesystem::path(appData) / L"Die Lurvendel" / L"Stimme";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const CommandLine line = parseCommandLine(arguments());
  if (const auto status = answerAtOnce(line, voiceFolder(), tellStarter)) return *status;
  // The commands go to the clock that runs; only when none does, this one starts.
  Win32InstanceLock claim;
  Win32ClockContact contact(claim);
  if (const auto status = handOverToRunningClock(line.commands, contact)) return *status;
  speakWith(voiceOf(voiceFolder()));
  Win32ClockProgram clock(claim);
  // Without its window nobody could see, reach or end the clock.
  if (!clock.window().handle()) {
    tellStarter(StandardStream::error, "lurvendel: das Uhrfenster lässt sich nicht anlegen\n");
    return 1;
  }
  clock.start();
  for (const std::string_view command : line.commands) clock.obey(command);
  return runMessageLoop();
}
