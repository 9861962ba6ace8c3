#include "platform/posix/posix_caller.h"

#include <cstdio>

#include "platform/posix/posix_clock_contact.h"
#include "platform/posix/posix_instance_lock.h"
#include "platform/posix/session_folders.h"

std::optional<int> answerAsCaller(const CommandLine& line, PosixInstanceLock& claim) {
  const auto print = [](StandardStream stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream == StandardStream::output ? stdout : stderr);
  };
  if (const auto status = answerAtOnce(line, voiceFolder(), print)) return *status;
  PosixClockContact contact(claim);
  return handOverToRunningClock(line.commands, contact);
}
