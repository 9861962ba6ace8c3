#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

struct PcmFormat {
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint16_t bitsPerSample = 0;  // 8: unsigned, 16 and 24: signed little-endian, 32: float
  std::uint16_t blockAlign = 0;     // bytes per frame
};

// Samples in their format. They lie in the voice in use, which lives as long as the program.
struct PcmClip {
  PcmFormat format;
  std::span<const std::uint8_t> samples;

  std::size_t frames() const { return samples.size() / format.blockAlign; }
  double seconds() const { return static_cast<double>(frames()) / format.sampleRate; }
};

// Plays one clip synchronously: returns when its last sample has been played. Every failure is
// silent, and the call never takes much longer than the clip itself. The samples may still be
// read after the call returned (by a device given up on), so they must live as long as the program.
// The id names the clip to whoever wants to know which one it is (a simulation); the sound is all
// there is to play.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  virtual void play(std::int16_t id, const PcmClip& sound) = 0;
};
