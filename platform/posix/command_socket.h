#pragma once

#include <string>

#include "platform/posix/unique_fd.h"

// The sockets on which a clock takes commands from its user's other processes. An address is a
// file's path, or, with '@' first, a name in Linux's abstract socket namespace, where no file can
// be deleted or lack room, but any user may connect or take a name first.

// The address of the socket in a folder that holds a clock's lock.
std::string commandSocketIn(const std::string& folder);

// A socket listening at the address, or none where it cannot be made (the path too long for a
// socket, no room in the folder, the name taken). A file in the way must have been removed.
UniqueFd listenAt(const std::string& address);

// A connection to a clock of this user's that listens at the address, or none: nobody listens
// there, or another user does. It never waits for a listener that takes no connections; that its
// queue was full, whoever it is, is told in queueFull.
UniqueFd connectToClock(const std::string& address, bool* queueFull = nullptr);

// Whether the process at the other end of a connection runs as this user.
bool peerIsThisUser(int fd);
