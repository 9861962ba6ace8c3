#pragma once

#include <cstdint>
#include <span>

#include "core/ports/audio_output.h"

// One recording of the clip store: its clip id and its complete WAV image.
struct StoredClip {
  std::int16_t id;
  std::span<const std::uint8_t> image;
};

// The clip store `ATM_SOUND`, built into the program from clips/<id>.wav, ordered by id. Its
// images are read-only data of the program and live as long as it: whatever plays one reads it in
// place, and nobody copies it.
std::span<const StoredClip> ATM_SOUND();

// A recording as read once from its image: the image, and its sound inside it.
struct ReadClip {
  std::span<const std::uint8_t> image;
  PcmClip sound;
};

// The built-in recording of a clip id; nothing for an id the store does not hold.
const ReadClip* builtInClip(std::int16_t id);

// The recording of a clip id in the voice the clock speaks with (the user's own recording or the
// built-in one, in the voice's format); nothing for an id the store does not hold.
const ReadClip* findClip(std::int16_t id);
