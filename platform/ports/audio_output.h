#pragma once

#include <cstdint>
#include <span>

// Plays one in-memory WAV image synchronously: returns when its last sample has been played.
// Every failure is silent, and the call never takes much longer than the clip itself.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  virtual void play(std::span<const std::uint8_t> wavImage) = 0;
};
