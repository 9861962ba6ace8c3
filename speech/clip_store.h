#pragma once

#include <cstdint>
#include <span>

// One recording of the clip store: its clip id and its complete WAV image.
struct StoredClip {
  std::int16_t id;
  std::span<const std::uint8_t> image;
};

// The clip store, built into the program from clips/<id>.wav, ordered by id.
std::span<const StoredClip> ATM_SOUND();

// The image of a clip; empty for an id the store does not hold.
std::span<const std::uint8_t> clipImage(std::int16_t id);
