#include "platform/win32/win32_clock_program.h"

#include "platform/common/clock_requests.h"
#include "platform/win32/debug_lines.h"
#include "platform/win32/win32_audio_device.h"

Win32ClockProgram::Win32ClockProgram(InstanceLock& instance)
    : window_(gate_, {.clockJumped = [this] { ticks_.clockJumped(); },
                      .command = [this](std::string_view command) { return obey(command); }}),
      dialogs_(window_.handle()),
      audio_([] { return std::make_unique<Win32AudioDevice>(); }, "das Standardgerät", {},
             [this] { gate_.whileClipPlays(); },
             [](const std::string& line) { sayDebugLine(line); }),
      ports_{.clock = clock_,
             .pump = gate_,
             .dialogs = dialogs_,
             .window = window_,
             .tray = window_.tray(),
             .instance = instance,
             .program = gate_,
             .audio = audio_},
      form_(ports_),
      ticks_(form_.Timer1, clock_, gate_),
      speech_(form_, [this](SpeechRequests::Call call) { gate_.whenQuiet(std::move(call)); }) {
  gate_.afterUserCall = [this] { ticks_.afterUserAction(); };
  window_.attach(form_);
}

Win32ClockProgram::~Win32ClockProgram() {
  window_.detach();
}

void Win32ClockProgram::start() {
  gate_.deliver([this] { form_.Form_Load(); });
}

bool Win32ClockProgram::obey(std::string_view command) {
  if (command == clockCommand::speak) return speech_.speak() == SpeechRequests::Reply::taken;
  gate_.deliver([this] {
    form_.mnuAnzeige.click();
    window_.bringToFront();
  });
  return true;
}
