#pragma once

#include <cstdint>
#include <optional>
#include <span>

struct PcmFormat {
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint16_t bitsPerSample = 0;  // 8: unsigned, 16: signed little-endian
  std::uint16_t blockAlign = 0;     // bytes per frame
};

// The playable content of a RIFF/WAVE image: its format and its samples, inside the image.
struct WavClip {
  PcmFormat format;
  std::span<const std::uint8_t> samples;

  std::size_t frames() const { return samples.size() / format.blockAlign; }
  double seconds() const { return static_cast<double>(frames()) / format.sampleRate; }
};

// Reads PCM images as WAV writers really make them: chunks other than "fmt " and "data" are
// skipped, an odd data length may or may not be followed by its pad byte, and anything after
// the data chunk is ignored. Anything malformed yields nothing; no byte outside the image is read.
std::optional<WavClip> parseWav(std::span<const std::uint8_t> image);
