#include "platform/posix/posix_instance_lock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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
UniqueFd openLock(const std::string& path) {
  UniqueFd fd(open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (fd || errno != EISDIR) return fd;
  return UniqueFd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// The lock file, locked; none where it cannot be opened or another process holds it (then
// heldElsewhere is set; the caller starts it false).
UniqueFd takeLock(const std::string& path, bool& heldElsewhere) {
  UniqueFd lock = openLock(path);
  if (lock && flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    heldElsewhere = errno == EWOULDBLOCK;
    return {};
  }
  return lock;
}

bool sameFile(const UniqueFd& fd, const std::string& path) {
  struct stat held {};
  struct stat there {};
  return fstat(fd.get(), &held) == 0 && lstat(path.c_str(), &there) == 0 &&
         held.st_dev == there.st_dev && held.st_ino == there.st_ino;
}

// Where a claim handed over across an exec is named: "lock,listener,address".
constexpr const char* handedOverClaim = "LURVENDEL_CLAIM";

// A descriptor that stays open in the program an exec starts, or that does not.
void keepAcrossExec(int fd, bool keep) {
  if (fd >= 0) fcntl(fd, F_SETFD, keep ? 0 : FD_CLOEXEC);
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

PosixInstanceLock::PosixInstanceLock(ClockPlaces places) : places_(std::move(places)) {}

PosixInstanceLock::Outcome PosixInstanceLock::claim() {
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
  if (listener_) {
    address_ = name;
    return outcome_ = Outcome::claimed;
  }
  // A name whose queue is full may be a clock of this user's that does not answer: no second.
  bool queueFull = false;
  if (connectToClock(name, &queueFull) || queueFull) outcome_ = Outcome::heldByClock;
  return outcome_;
}

// Holding the lock, the clock may remove a socket file that a killed clock left behind.
bool PosixInstanceLock::claimFolder(const std::string& folder) {
  bool heldElsewhere = false;
  // Taken anew where this clock holds the lock already, it keeps it, never letting go meanwhile.
  UniqueFd lock =
      sameFile(lock_, lockIn(folder)) ? std::move(lock_) : takeLock(lockIn(folder), heldElsewhere);
  if (!lock) {
    if (heldElsewhere) outcome_ = Outcome::heldByClock;
    return false;
  }
  const std::string socket = commandSocketIn(folder);
  unlink(socket.c_str());
  UniqueFd listener = listenAt(socket);
  if (!listener) return false;
  lock_ = std::move(lock);
  listener_ = std::move(listener);
  folder_ = folder;
  address_ = socket;
  return true;
}

// The claim taken anew: in the same place while it will do, else in the next that will.
int PosixInstanceLock::renew() {
  if (folder_.empty()) return listener_.get();
  listener_.reset();
  address_.clear();
  outcome_ = Outcome::nowhere;
  claim();
  return listener_.get();
}

void PosixInstanceLock::handOverAcrossExec() {
  keepAcrossExec(lock_.get(), true);
  keepAcrossExec(listener_.get(), true);
  const std::string claim =
      std::to_string(lock_.release()) + "," + std::to_string(listener_.release()) + "," + address_;
  setenv(handedOverClaim, claim.c_str(), 1);
  outcome_ = Outcome::nowhere;
}

// The address names the folder, unless it is the abstract name, whose lock the listener is.
bool PosixInstanceLock::takeUpHandedOver() {
  const char* claim = std::getenv(handedOverClaim);
  if (!claim) return false;
  int lock = -1;
  int listener = -1;
  int consumed = 0;
  const bool read = std::sscanf(claim, "%d,%d,%n", &lock, &listener, &consumed) == 2 &&
                    listener >= 0 && fcntl(listener, F_GETFD) != -1;
  if (read) {
    keepAcrossExec(lock, false);
    keepAcrossExec(listener, false);
    lock_.reset(lock);
    listener_.reset(listener);
    address_ = claim + consumed;
    folder_ = address_.starts_with('@') ? "" : address_.substr(0, address_.rfind('/'));
    outcome_ = Outcome::claimed;
  }
  unsetenv(handedOverClaim);
  return read;
}
