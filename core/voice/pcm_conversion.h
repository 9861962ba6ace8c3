#pragma once

#include <cstdint>
#include <vector>

#include "core/ports/audio_output.h"

// The sound of `clip` in `format` (mono, 8 or 16 bit): its channels mixed, its rate changed by
// linear interpolation, its samples scaled to the new size. The clip's length stays as it was.
std::vector<std::uint8_t> convertPcm(const PcmClip& clip, const PcmFormat& format);
