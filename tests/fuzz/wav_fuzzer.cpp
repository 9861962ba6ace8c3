// libFuzzer target for the WAV image parser: whatever the bytes, it must not read outside them,
// and what it accepts must lie inside the image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/speech/wav_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto clip = parseWav({data, size});
  if (clip &&
      (clip->samples.data() < data || clip->samples.data() + clip->samples.size() > data + size)) {
    std::abort();
  }
  return 0;
}
