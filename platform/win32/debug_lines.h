#pragma once

#include <string>
#include <string_view>

#include "platform/win32/windows_headers.h"

// One line for whoever asked with LURVENDEL_DEBUG=1: where the starter reads the program's errors,
// or, with no console and no stream redirected, as the debugger's output (which DebugView, or
// wine with WINEDEBUG=+debugstr, shows).
void sayDebugLine(std::string_view line);

// The system's words for an error code, as GetLastError() gives it.
std::string systemWords(DWORD error);

// Under LURVENDEL_DEBUG=1, says what is missing because a call failed, and the system's words for
// its error (none for 0): "lurvendel: kein Uhrfenster: CreateWindowExW: …".
void reportFailure(std::string_view missing, std::string_view call, DWORD error);
