#pragma once

#include <string>

#include "platform/win32/windows_headers.h"

// Who runs this program, and whether another process or a kernel object is of the same user.

// The security identifier of this process's user, as text ("S-1-5-21-…").
std::wstring thisUserSid();
// Whether the process runs as this process's user.
bool processIsThisUser(DWORD processId);
// Whether a kernel object was made by this process's user (or by nobody known).
bool objectOwnedByThisUser(HANDLE object);
