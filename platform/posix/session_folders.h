#pragma once

#include <string>
#include <vector>

// The folders where a clock keeps what belongs to its user's session (its lock, its command
// socket), in the order they are tried: the session's runtime folder, a folder of the user's in
// /tmp, one in the user's cache.
std::vector<std::string> sessionFolders();

// Whether the folder is a real folder of this user's that nobody else may write to; there no
// other user can hold, take or plant anything. With `make`, a missing folder is made first.
bool privateFolder(const std::string& path, bool make);
