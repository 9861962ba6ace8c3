#include "platform/posix/clock_claim.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/posix/command_socket.h"

namespace {

std::string lockIn(const std::string& folder) {
  return folder + "/lurvendel.lock";
}

// The lock file, made if missing; a folder left in its place is locked just as well.
int openLock(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd >= 0 || errno != EISDIR) return fd;
  return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool sameFile(int fd, const std::string& path) {
  struct stat held {};
  struct stat there {};
  return fstat(fd, &held) == 0 && lstat(path.c_str(), &there) == 0 && held.st_dev == there.st_dev &&
         held.st_ino == there.st_ino;
}

}  // namespace

std::string ClockPlaces::defaultAbstractName() {
  return "lurvendel-" + std::to_string(geteuid());
}

std::vector<std::string> ClockPlaces::commandAddresses() const {
  std::vector<std::string> addresses;
  for (const std::string& folder : folders) addresses.push_back(commandSocketIn(folder));
  if (!abstractName.empty()) addresses.push_back("@" + abstractName);
  return addresses;
}

ClockClaim::ClockClaim(ClockPlaces places) : places_(std::move(places)) {}

ClockClaim::~ClockClaim() {
  if (listener_ >= 0) close(listener_);
  if (lock_ >= 0) close(lock_);
}

ClockClaim::Outcome ClockClaim::claim() {
  if (outcome_ == Outcome::claimed) return outcome_;
  outcome_ = Outcome::nowhere;
  for (const std::string& folder : places_.folders) {
    if (!privateFolder(folder, true)) continue;
    if (claimFolder(folder)) return outcome_ = Outcome::claimed;
    if (outcome_ == Outcome::heldByClock) return outcome_;
  }
  if (places_.abstractName.empty()) return outcome_;
  const std::string name = "@" + places_.abstractName;
  listener_ = listenAt(name);
  if (listener_ >= 0) {
    address_ = name;
    return outcome_ = Outcome::claimed;
  }
  if (const int clock = connectToClock(name); clock >= 0) {
    close(clock);
    outcome_ = Outcome::heldByClock;
  }
  return outcome_;
}

// Holding the lock, the clock may remove a socket file that a killed clock left behind.
bool ClockClaim::claimFolder(const std::string& folder) {
  const int lock = openLock(lockIn(folder));
  if (lock < 0) return false;
  if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) outcome_ = Outcome::heldByClock;
    close(lock);
    return false;
  }
  const std::string socket = commandSocketIn(folder);
  unlink(socket.c_str());
  const int listener = listenAt(socket);
  if (listener < 0) {
    close(lock);
    return false;
  }
  lock_ = lock;
  listener_ = listener;
  folder_ = folder;
  address_ = socket;
  return true;
}

int ClockClaim::renew() {
  if (folder_.empty()) return listener_;
  close(listener_);
  privateFolder(folder_, true);
  const std::string lockPath = lockIn(folder_);
  if (!sameFile(lock_, lockPath)) {
    const int lock = openLock(lockPath);
    if (lock >= 0 && flock(lock, LOCK_EX | LOCK_NB) == 0) {
      close(lock_);
      lock_ = lock;
    } else if (lock >= 0) {
      close(lock);
    }
  }
  unlink(address_.c_str());
  listener_ = listenAt(address_);
  return listener_;
}
