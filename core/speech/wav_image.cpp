#include "core/speech/wav_image.h"

#include <algorithm>
#include <string_view>

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t readLittleEndian(Bytes bytes, std::size_t offset, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value |= std::uint32_t{bytes[offset + i]} << (8 * i);
  return value;
}

bool hasTag(Bytes bytes, std::size_t offset, std::string_view tag) {
  return std::equal(tag.begin(), tag.end(), bytes.begin() + offset,
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

// Integer PCM of 8, 16 or 24 bits, or 32-bit floats; plain or in the extensible layout that
// recorders write for more than 16 bits.
std::optional<PcmFormat> parseFormat(Bytes chunk) {
  constexpr std::uint32_t integer = 1, floating = 3, extensible = 0xfffe;
  if (chunk.size() < 16) return std::nullopt;
  std::uint32_t tag = readLittleEndian(chunk, 0, 2);
  if (tag == extensible) {
    // The sub-format, a GUID: KSDATAFORMAT_SUBTYPE_PCM or _IEEE_FLOAT.
    constexpr char pcm[] = "\x01\0\0\0\0\0\x10\0\x80\0\0\xaa\0\x38\x9b\x71";
    constexpr char ieeeFloat[] = "\x03\0\0\0\0\0\x10\0\x80\0\0\xaa\0\x38\x9b\x71";
    if (chunk.size() < 40) return std::nullopt;
    tag = hasTag(chunk, 24, {pcm, sizeof pcm - 1})               ? integer
          : hasTag(chunk, 24, {ieeeFloat, sizeof ieeeFloat - 1}) ? floating
                                                                 : 0;
  }
  const PcmFormat format{
      .channels = static_cast<std::uint16_t>(readLittleEndian(chunk, 2, 2)),
      .sampleRate = readLittleEndian(chunk, 4, 4),
      .bitsPerSample = static_cast<std::uint16_t>(readLittleEndian(chunk, 14, 2)),
      .blockAlign = static_cast<std::uint16_t>(readLittleEndian(chunk, 12, 2))};
  const bool known = tag == integer ? format.bitsPerSample == 8 || format.bitsPerSample == 16 ||
                                          format.bitsPerSample == 24
                                    : tag == floating && format.bitsPerSample == 32;
  const bool sane = known && (format.channels == 1 || format.channels == 2) &&
                    format.blockAlign == format.channels * format.bitsPerSample / 8 &&
                    format.sampleRate >= 4000 && format.sampleRate <= 192000;
  return sane ? std::optional(format) : std::nullopt;
}

}  // namespace

std::optional<PcmClip> parseWav(Bytes image) {
  constexpr std::size_t headerSize = 12;
  constexpr std::size_t chunkHeaderSize = 8;
  if (image.size() < headerSize || !hasTag(image, 0, "RIFF") || !hasTag(image, 8, "WAVE")) {
    return std::nullopt;
  }
  // The RIFF length must not claim more than the image holds, but for the pad byte of an odd
  // data chunk at its very end, which some writers count without storing it.
  const std::uint64_t riffEnd = std::uint64_t{8} + readLittleEndian(image, 4, 4);
  const bool padNotStored = riffEnd == image.size() + 1;
  if (riffEnd > image.size() && !padNotStored) return std::nullopt;
  const Bytes riff = image.first(std::min<std::size_t>(riffEnd, image.size()));

  std::optional<PcmFormat> format;
  std::size_t offset = headerSize;
  while (offset + chunkHeaderSize <= riff.size()) {
    const std::uint32_t length = readLittleEndian(riff, offset + 4, 4);
    const std::size_t body = offset + chunkHeaderSize;
    if (length > riff.size() - body) return std::nullopt;
    const Bytes chunk = riff.subspan(body, length);
    if (hasTag(riff, offset, "fmt ")) {
      format = parseFormat(chunk);
      if (!format) return std::nullopt;
    } else if (hasTag(riff, offset, "data")) {
      if (!format || length % format->blockAlign != 0) return std::nullopt;
      if (padNotStored && (length % 2 == 0 || body + length != riff.size())) return std::nullopt;
      return PcmClip{*format, chunk};
    }
    offset = body + length + (length & 1);
  }
  return std::nullopt;
}
