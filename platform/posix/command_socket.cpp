#include "platform/posix/command_socket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct Address {
  sockaddr_un un{};
  socklen_t length = 0;
};

std::optional<Address> addressOf(const std::string& text) {
  Address address;
  address.un.sun_family = AF_UNIX;
  const bool abstract = text.starts_with('@');
  // A path needs its terminating NUL; an abstract name starts with one instead of '@'.
  if (text.empty() || text.size() + (abstract ? 0 : 1) > sizeof address.un.sun_path) {
    return std::nullopt;
  }
  std::memcpy(address.un.sun_path, text.data(), text.size());
  if (abstract) address.un.sun_path[0] = '\0';
  address.length =
      static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + text.size() + (abstract ? 0 : 1));
  return address;
}

UniqueFd streamSocket(int flags = 0) {
  return UniqueFd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | flags, 0));
}

}  // namespace

std::string commandSocketIn(const std::string& folder) {
  return folder + "/lurvendel.socket";
}

UniqueFd listenAt(const std::string& text) {
  const auto address = addressOf(text);
  if (!address) return {};
  UniqueFd fd = streamSocket();
  if (!fd ||
      bind(fd.get(), reinterpret_cast<const sockaddr*>(&address->un), address->length) != 0 ||
      listen(fd.get(), SOMAXCONN) != 0) {
    return {};
  }
  return fd;
}

UniqueFd connectToClock(const std::string& text, bool* queueFull) {
  const auto address = addressOf(text);
  if (!address) return {};
  // Not blocking: a listener whose queue is full must not hold the caller.
  UniqueFd fd = streamSocket(SOCK_NONBLOCK);
  if (!fd) return {};
  if (connect(fd.get(), reinterpret_cast<const sockaddr*>(&address->un), address->length) != 0) {
    if (queueFull) *queueFull = errno == EAGAIN;
    return {};
  }
  if (!peerIsThisUser(fd.get())) return {};
  fcntl(fd.get(), F_SETFL, fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
  return fd;
}

bool peerIsThisUser(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
}
