#include "platform/posix/clock_commands.h"

#include <cstdio>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/posix/clock_claim.h"
#include "platform/posix/command_socket.h"

namespace {

// A clock answers from its event loop, which runs also while it speaks; one that is starting
// answers once its window stands, which on a busy machine (a login) can take seconds.
constexpr int answerWithinMs = 15000;

int connectToAny(const std::vector<std::string>& addresses) {
  for (const std::string& address : addresses) {
    if (const int fd = connectToClock(address); fd >= 0) return fd;
  }
  return -1;
}

std::string answerLine(int fd) {
  std::string line;
  char c = 0;
  pollfd wait{.fd = fd, .events = POLLIN, .revents = 0};
  while (line.size() <= clockCommand::longest && poll(&wait, 1, answerWithinMs) == 1 &&
         read(fd, &c, 1) == 1 && c != '\n') {
    line += c;
  }
  return c == '\n' ? line : "";
}

}  // namespace

ClockAnswer askRunningClock(std::string_view command, const std::vector<std::string>& addresses) {
  const int fd = connectToAny(addresses);
  if (fd < 0) return ClockAnswer::noClock;
  const std::string line = std::string(command) + "\n";
  const bool sent =
      send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
  const std::string answer = sent ? answerLine(fd) : "";
  close(fd);
  if (answer == clockCommand::taken) return ClockAnswer::taken;
  return answer == clockCommand::busy ? ClockAnswer::busy : ClockAnswer::silent;
}

bool clockListens(const std::vector<std::string>& addresses) {
  const int fd = connectToAny(addresses);
  if (fd >= 0) close(fd);
  return fd >= 0;
}

SocketContact::SocketContact(ClockClaim& claim)
    : claim_(claim), addresses_(claim.places().commandAddresses()) {}

ClaimOutcome SocketContact::claim() {
  return claim_.claim();
}

void SocketContact::complain(const std::string& line) {
  std::fputs(line.c_str(), stderr);
}
