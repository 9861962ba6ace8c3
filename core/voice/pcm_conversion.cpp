#include "core/voice/pcm_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A sample as a fraction of full scale, from -1 up to (not quite) 1.
double sampleAt(const PcmClip& clip, std::size_t frame, std::size_t channel) {
  const std::size_t bytes = clip.format.bitsPerSample / 8;
  const std::uint8_t* at = clip.samples.data() + frame * clip.format.blockAlign + channel * bytes;
  switch (clip.format.bitsPerSample) {
    case 8:
      return (at[0] - 128) / 128.0;
    case 16:
      return static_cast<std::int16_t>(at[0] | at[1] << 8) / 32768.0;
    case 24:
      return static_cast<std::int32_t>(std::uint32_t{at[0]} << 8 | std::uint32_t{at[1]} << 16 |
                                       std::uint32_t{at[2]} << 24) /
             2147483648.0;
    default: {  // 32-bit float
      float value = 0;
      std::memcpy(&value, at, sizeof value);
      return std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : 0.0;
    }
  }
}

double monoAt(const PcmClip& clip, std::size_t frame) {
  double sum = 0;
  for (std::size_t c = 0; c < clip.format.channels; ++c) sum += sampleAt(clip, frame, c);
  return sum / clip.format.channels;
}

}  // namespace

std::vector<std::uint8_t> convertPcm(const PcmClip& clip, const PcmFormat& format) {
  const std::size_t frames = clip.frames();
  const double step = static_cast<double>(clip.format.sampleRate) / format.sampleRate;
  const auto outFrames = static_cast<std::size_t>(std::llround(frames / step));
  std::vector<std::uint8_t> out;
  out.reserve(outFrames * format.blockAlign);
  for (std::size_t j = 0; j < outFrames; ++j) {
    const double position = j * step;
    const auto i = static_cast<std::size_t>(position);
    const double here = monoAt(clip, i);
    const double next = i + 1 < frames ? monoAt(clip, i + 1) : here;
    const double value = here + (next - here) * (position - i);
    if (format.bitsPerSample == 8) {
      out.push_back(
          static_cast<std::uint8_t>(std::clamp(std::lround(value * 128) + 128, 0L, 255L)));
    } else {
      const auto sample =
          static_cast<std::uint16_t>(std::clamp(std::lround(value * 32768), -32768L, 32767L));
      out.push_back(static_cast<std::uint8_t>(sample & 0xff));
      out.push_back(static_cast<std::uint8_t>(sample >> 8));
    }
  }
  return out;
}
