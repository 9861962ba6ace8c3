#pragma once

#include "core/ports/instance_lock.h"
#include "platform/common/clock_requests.h"
#include "platform/win32/unique_handles.h"

// One clock per user and session: a mutex named after the user in the session's namespace, held
// for the life of the clock. Windows drops it with the process, so a clock that was killed never
// blocks the next start. Should another user have taken the name first, the clock starts all the
// same rather than never.
class Win32InstanceLock : public InstanceLock {
 public:
  using Outcome = ClaimOutcome;

  // Takes the name unless a clock of this user's holds it; keeps it for the life of this object.
  // May be tried again while it has not claimed.
  Outcome claim();
  bool anotherInstanceRunning() override { return claim() == Outcome::heldByClock; }

 private:
  Outcome outcome_ = Outcome::nowhere;
  UniqueHandle mutex_;
};
