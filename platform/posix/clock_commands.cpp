#include "platform/posix/clock_commands.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A connected socket to the clock listening in the folder, or -1.
int connectTo(const std::string& folder) {
  const std::string path = commandSocketPath(folder);
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return -1;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string commandSocketPath(const std::string& folder) {
  return folder + "/lurvendel.socket";
}

bool sendToRunningClock(std::string_view command, const std::vector<std::string>& folders) {
  const std::string line = std::string(command) + "\n";
  for (const std::string& folder : folders) {
    if (!privateFolder(folder, false)) continue;
    const int fd = connectTo(folder);
    if (fd < 0) continue;
    const bool sent =
        send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
    close(fd);
    if (sent) return true;
  }
  return false;
}
