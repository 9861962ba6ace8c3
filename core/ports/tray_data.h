#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ports/tray_host.h"

// The notification-icon record in its first, 88-byte version with 8-bit text.
struct TrayData {
  static constexpr std::uint32_t recordSize = 88;
  static constexpr std::uint32_t iconId = 1;
  static constexpr std::uint32_t flagsMessageIconTip = 7;
  static constexpr std::uint32_t mouseMoveMessage = 512;
  static constexpr std::size_t tipLength = 64;

  std::uint32_t cbSize = 0;
  std::uint32_t hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uint32_t hIcon = 0;
  std::array<char, tipLength> szTip{};

  // Left-aligned, one NUL after the text, the rest filled with spaces.
  void setTip(std::string_view tip);
  // The tip as the platform reads it: up to the first NUL.
  std::string tip() const;

  TrayHost::Record bytes() const;
  static TrayData fromBytes(const TrayHost::Record& record);
};
