#include "platform/posix/posix_caller.h"

#include <cstdio>

#include "platform/posix/posix_clock_contact.h"
#include "platform/posix/posix_instance_lock.h"

std::optional<int> answerAsCaller(const CommandLine& line, PosixInstanceLock& claim) {
  switch (line.request) {
    case CommandLine::Request::help:
      std::fputs(usageText, stdout);
      return 0;
    case CommandLine::Request::version:
      std::puts("lurvendel " LURVENDEL_VERSION);
      return 0;
    case CommandLine::Request::unknownOption:
      std::fputs(line.complaint.c_str(), stderr);
      return 2;
    case CommandLine::Request::runClock:
      break;
  }
  PosixClockContact contact(claim);
  return handOverToRunningClock(line.commands, contact);
}
