#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/ports/audio_output.h"

// The samples of a RIFF/WAVE image in PCM, inside the image. Images are read as WAV writers
// really make them: chunks other than "fmt " and "data" are skipped, an odd data length may or
// may not be followed by its pad byte, and anything after the data chunk is ignored. Anything
// malformed yields nothing; no byte outside the image is read.
std::optional<PcmClip> parseWav(std::span<const std::uint8_t> image);
