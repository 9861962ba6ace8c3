#pragma once

#include <array>
#include <cstdint>

// The notification area, fed with the 88-byte notification-icon record.
class TrayHost {
 public:
  enum class Message { add = 0, remove = 2 };
  using Record = std::array<std::uint8_t, 88>;

  virtual ~TrayHost() = default;
  // Adding an icon that stands already, or removing one that does not, changes nothing.
  virtual void notifyIcon(Message message, const Record& record) = 0;
  // Whether an icon stands in the notification area now.
  virtual bool iconShown() const = 0;
};
