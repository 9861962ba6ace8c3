#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/session_folders.h"

// What another process of the same user may ask of the running clock, one command a
// connection, as one short line on a local socket in the folder that holds the clock's lock.
namespace clockCommand {
inline constexpr std::string_view speak = "sprich";
inline constexpr std::string_view show = "anzeigen";
inline constexpr std::size_t longest = 16;  // a longer line is no command
}  // namespace clockCommand

// The socket of the clock whose lock is in the folder.
std::string commandSocketPath(const std::string& folder);

// Hands a command to the clock running in this user's session; false when none runs. It waits
// for nothing but the connection: the clock carries the command out on its own.
bool sendToRunningClock(std::string_view command,
                        const std::vector<std::string>& folders = sessionFolders());
