#include "core/ports/tray_data.h"

#include <algorithm>

namespace {

// The numbers in the record's order, four bytes each from its start; the tip follows them.
constexpr std::array<std::uint32_t TrayData::*, 6> numbers = {
    &TrayData::cbSize,           &TrayData::hWnd, &TrayData::uID, &TrayData::uFlags,
    &TrayData::uCallbackMessage, &TrayData::hIcon};
constexpr std::size_t tipOffset = 4 * numbers.size();

void putLittleEndian(TrayHost::Record& record, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t littleEndianAt(const TrayHost::Record& record, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{record[offset + i]} << (8 * i);
  return value;
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
  for (std::size_t i = 0; i < numbers.size(); ++i)
    putLittleEndian(record, 4 * i, this->*numbers[i]);
  std::copy(szTip.begin(), szTip.end(), record.begin() + tipOffset);
  return record;
}

TrayData TrayData::fromBytes(const TrayHost::Record& record) {
  TrayData data;
  for (std::size_t i = 0; i < numbers.size(); ++i) data.*numbers[i] = littleEndianAt(record, 4 * i);
  std::copy(record.begin() + tipOffset, record.end(), data.szTip.begin());
  return data;
}
