#pragma once

#include <array>
#include <cstdint>

// The notification area, fed with the 88-byte notification-icon record.
class TrayHost {
 public:
  enum class Message { add = 0, modify = 1, remove = 2 };
  using Record = std::array<std::uint8_t, 88>;

  virtual ~TrayHost() = default;
  // Result ignored by every caller; adding an existing icon or removing a missing one is harmless.
  virtual bool notifyIcon(Message message, const Record& record) = 0;
  // Whether an icon stands in the notification area now.
  virtual bool iconShown() const = 0;
};
