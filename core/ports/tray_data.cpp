#include "core/ports/tray_data.h"

#include <algorithm>

namespace {

constexpr std::size_t tipOffset = 24;

void putLittleEndian(TrayHost::Record& record, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

void TrayData::setTip(std::string_view tip) {
  szTip.fill(' ');
  const std::size_t length = std::min(tip.size(), tipLength - 1);
  std::copy_n(tip.begin(), length, szTip.begin());
  szTip[length] = '\0';
}

std::string TrayData::tip() const {
  const auto end = std::find(szTip.begin(), szTip.end(), '\0');
  return {szTip.begin(), end};
}

TrayHost::Record TrayData::bytes() const {
  TrayHost::Record record{};
  const std::array<std::uint32_t, 6> fields = {cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon};
  for (std::size_t i = 0; i < fields.size(); ++i) putLittleEndian(record, 4 * i, fields[i]);
  std::copy(szTip.begin(), szTip.end(), record.begin() + tipOffset);
  return record;
}

std::string tipOfRecord(const TrayHost::Record& record) {
  const auto begin = record.begin() + tipOffset;
  return {begin, std::find(begin, record.end(), std::uint8_t{0})};
}
