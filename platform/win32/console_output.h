#pragma once

#include <string_view>

#include "platform/common/command_line.h"

// Writes UTF-8 text where the user who started the program reads it: to a file or pipe the
// stream was redirected to, as UTF-8, or else to the console the program was started from, if
// any (a program of the Windows subsystem has none of its own). Once written to, the program
// belongs to that console: closing it ends the program. Whether there was anywhere to write to.
bool writeToStarter(StandardStream stream, std::string_view text);

// As writeToStarter, but where nothing reads it (a Start-menu entry starts the program without a
// console), the text appears in a message box and the call returns once it is closed.
void tellStarter(StandardStream stream, std::string_view text);
