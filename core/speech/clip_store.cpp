#include "core/speech/clip_store.h"

#include <map>

#include "core/speech/wav_image.h"
#include "core/voice/voice.h"

const ReadClip* builtInClip(std::int16_t id) {
  static const std::map<std::int16_t, ReadClip> read = [] {
    std::map<std::int16_t, ReadClip> clips;
    for (const StoredClip& stored : ATM_SOUND()) {
      const auto sound = parseWav(stored.image);
      if (!sound) continue;
      clips[stored.id] = {stored.image, *sound};
    }
    return clips;
  }();
  const auto found = read.find(id);
  return found == read.end() ? nullptr : &found->second;
}

const ReadClip* findClip(std::int16_t id) {
  return voiceInUse().find(id);
}
