#pragma once

#include <optional>

#include "platform/common/command_line.h"

class PosixInstanceLock;

// Does what the command line asks without becoming the clock: prints the help, the version or a
// complaint, or hands the commands to the running clock of this user's. The exit status; nothing
// when this process is to become the clock, and then it holds the claim.
std::optional<int> answerAsCaller(const CommandLine& line, PosixInstanceLock& claim);
