#include "platform/posix/posix_clock_contact.h"

#include <cstdio>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/posix/command_socket.h"
#include "platform/posix/posix_instance_lock.h"

namespace {

// A clock answers from its event loop, which runs also while it speaks; one that is starting
// answers once its window stands, which on a busy machine (a login) can take seconds.
constexpr int answerWithinMs = 15000;

UniqueFd connectToAny(const std::vector<std::string>& addresses) {
  for (const std::string& address : addresses) {
    if (UniqueFd fd = connectToClock(address)) return fd;
  }
  return {};
}

std::string readAnswerLine(const UniqueFd& fd) {
  std::string line;
  char c = 0;
  pollfd wait{.fd = fd.get(), .events = POLLIN, .revents = 0};
  while (line.size() <= clockCommand::longest && poll(&wait, 1, answerWithinMs) == 1 &&
         read(fd.get(), &c, 1) == 1 && c != '\n') {
    line += c;
  }
  return c == '\n' ? line : "";
}

}  // namespace

ClockAnswer askRunningClock(std::string_view command, const std::vector<std::string>& addresses) {
  const UniqueFd fd = connectToAny(addresses);
  if (!fd) return ClockAnswer::noClock;
  const std::string line = std::string(command) + "\n";
  const bool sent =
      send(fd.get(), line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
  return clockCommand::answerOf(sent ? readAnswerLine(fd) : "");
}

std::string_view clockCommand::answerLine(ClockAnswer answer) {
  return answer == ClockAnswer::taken ? taken : answer == ClockAnswer::kept ? kept : busy;
}

ClockAnswer clockCommand::answerOf(std::string_view line) {
  for (const ClockAnswer answer : {ClockAnswer::taken, ClockAnswer::busy, ClockAnswer::kept}) {
    if (line == answerLine(answer)) return answer;
  }
  return ClockAnswer::silent;
}

bool clockListens(const std::vector<std::string>& addresses) {
  return static_cast<bool>(connectToAny(addresses));
}

PosixClockContact::PosixClockContact(PosixInstanceLock& claim)
    : claim_(claim), addresses_(claim.places().commandAddresses()) {}

ClaimOutcome PosixClockContact::claim() {
  return claim_.claim();
}

void PosixClockContact::complain(const std::string& line) {
  std::fputs(line.c_str(), stderr);
}
