#include "speech/clip_store.h"

#include <algorithm>

std::span<const std::uint8_t> clipImage(std::int16_t id) {
  const auto store = ATM_SOUND();
  const auto found = std::lower_bound(
      store.begin(), store.end(), id,
      [](const StoredClip& clip, std::int16_t wanted) { return clip.id < wanted; });
  if (found == store.end() || found->id != id) return {};
  return found->image;
}
