#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/ports/audio_output.h"

// One recording of the clip store: its clip id and its complete WAV image.
struct StoredClip {
  std::int16_t id;
  std::span<const std::uint8_t> image;
};

// The clip store, built into the program from clips/<id>.wav, ordered by id.
std::span<const StoredClip> ATM_SOUND();

// A recording as read once from its image: the image, and where in it the samples lie.
struct ReadClip {
  std::span<const std::uint8_t> image;
  PcmFormat format;
  std::size_t samplesAt = 0;
  std::size_t sampleBytes = 0;

  // The sound in a byte-for-byte copy of the image, or in the image itself.
  PcmClip soundIn(std::span<const std::uint8_t> copy) const {
    return {format, copy.subspan(samplesAt, sampleBytes)};
  }
  PcmClip sound() const { return soundIn(image); }
};

// The recording of a clip id; nothing for an id the store does not hold.
const ReadClip* findClip(std::int16_t id);
