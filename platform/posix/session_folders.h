#pragma once

#include <string>
#include <vector>

// The folders where a clock keeps what belongs to its user's session (its lock and its command
// socket), in the order a clock tries them: the session's runtime folder (the one logind makes,
// also where the caller's environment does not name it), a folder of the user's in /tmp, one in
// the user's cache. A caller looks for a running clock in all of them.
std::vector<std::string> sessionFolders();

// Whether the folder is a real folder of this user's that nobody else may write to; there no
// other user can hold, take or plant anything. With `make`, a missing folder is made first.
bool privateFolder(const std::string& path, bool make);

// The user's voice folder: $XDG_DATA_HOME/lurvendel/stimme, ~/.local/share/lurvendel/stimme by
// default.
std::string voiceFolder();
