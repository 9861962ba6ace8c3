#pragma once

#include <string>
#include <vector>

#include "core/ports/instance_lock.h"
#include "platform/common/clock_requests.h"
#include "platform/posix/session_folders.h"
#include "platform/posix/unique_fd.h"

// Where the clocks of one user meet: the session folders, and a name in the abstract socket
// namespace for a user who has no private folder at all.
struct ClockPlaces {
  std::vector<std::string> folders = sessionFolders();
  std::string abstractName = defaultAbstractName();

  static std::string defaultAbstractName();
  // Where a caller looks for a running clock: the socket of every folder, then the name.
  std::vector<std::string> commandAddresses() const;
};

// One clock per user. A clock holds an advisory lock on a file in the first of its places that
// only its user can write to and where its command socket can be made as well: the lock and the
// socket go together, so a clock that holds the lock can always be reached. The kernel drops the
// lock when the holder dies, so a clock that was killed never blocks the next start. Where no
// folder will do, the abstract name is lock and socket at once; should another user hold that
// name, the clock starts all the same rather than never.
class PosixInstanceLock : public InstanceLock {
 public:
  using Outcome = ClaimOutcome;

  explicit PosixInstanceLock(ClockPlaces places = {});

  // Takes the first place that will do, unless a clock of this user's holds it; keeps it for the
  // life of this object. May be tried again while it has not claimed.
  Outcome claim();
  bool anotherInstanceRunning() override { return claim() == Outcome::heldByClock; }
  const ClockPlaces& places() const { return places_; }

  // The command socket of the claimed place, listening; -1 while none.
  int listener() const { return listener_.get(); }
  // Its address, for a watch on its file; empty while none.
  const std::string& address() const { return address_; }
  // Makes the claimed place again after its socket's file went (deleted with its folder, say):
  // folder, lock and socket; where that place will no longer do (it cannot be made again, or
  // another user made it), the next one in the order of a claim. The new listener, or -1.
  int renew();

  // Passes the claim held to the program this process is about to run in its place (exec): its
  // descriptors stay open and are named in the environment. This object holds nothing after.
  void handOverAcrossExec();
  // Takes up a claim handed over across the exec that started this program; false where none was.
  bool takeUpHandedOver();

 private:
  bool claimFolder(const std::string& folder);

  ClockPlaces places_;
  Outcome outcome_ = Outcome::nowhere;
  std::string folder_;
  std::string address_;
  UniqueFd lock_;
  UniqueFd listener_;
};
