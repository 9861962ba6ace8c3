#include "platform/win32/win32_instance_lock.h"

#include <string>
#include <utility>

#include "platform/win32/user_identity.h"

Win32InstanceLock::Outcome Win32InstanceLock::claim() {
  if (outcome_ == Outcome::claimed) return outcome_;
  const std::wstring name = L"Local\\Lurvendel-" + thisUserSid();
  UniqueHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
  if (!mutex) return outcome_ = Outcome::nowhere;  // another user's, closed to this one
  if (GetLastError() != ERROR_ALREADY_EXISTS) {
    mutex_ = std::move(mutex);
    return outcome_ = Outcome::claimed;
  }
  return outcome_ = objectOwnedByThisUser(mutex.get()) ? Outcome::heldByClock : Outcome::nowhere;
}
