#include "platform/win32/win32_clock_program.h"

#include "platform/win32/debug_lines.h"
#include "platform/win32/win32_audio_device.h"

Win32ClockProgram::Win32ClockProgram(InstanceLock& instance)
    : window_(gate_,
              {.clockJumped = [this] { ticks_.clockJumped(); },
               .command = [this](std::string_view command) { return model_.obey(command); }}),
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
      model_(ports_, gate_, [this] { window_.bringToFront(); }),
      ticks_(model_.form().Timer1, clock_, gate_) {
  gate_.afterUserCall = [this] { ticks_.afterUserAction(); };
  window_.attach(model_.form());
}

Win32ClockProgram::~Win32ClockProgram() {
  window_.detach();
}
