#include "core/voice/voice.h"

#include <algorithm>

#include "core/speech/wav_image.h"
#include "core/voice/pcm_conversion.h"

namespace {

constexpr double longestSeconds = 10;

// Why a recording cannot stand for its clip; empty when it can.
std::string whyNot(const OwnRecording& own, const std::optional<PcmClip>& sound, bool taken) {
  if (!own.unreadable.empty()) return own.unreadable;
  if (own.id == 0 || !builtInClip(own.id)) return "keine der 42 Clipnummern";
  if (taken) return "schon eine Aufnahme für diese Nummer";
  if (!sound) return "kein WAV mit PCM (8, 16, 24 Bit) oder Gleitkomma (32 Bit)";
  if (sound->format.sampleRate < 8000 || sound->format.sampleRate > 48000) {
    return "Abtastrate " + std::to_string(sound->format.sampleRate) + " Hz, erlaubt 8000 bis 48000";
  }
  if (sound->frames() == 0) return "ohne Ton";
  if (sound->seconds() > longestSeconds) return "länger als 10 Sekunden";
  return {};
}

}  // namespace

Voice::Voice(std::vector<OwnRecording> own) {
  for (const StoredClip& stored : ATM_SOUND()) {
    if (const ReadClip* clip = builtInClip(stored.id)) clips_[stored.id] = *clip;
  }
  for (OwnRecording& recording : own) {
    const auto sound = parseWav(recording.image);
    if (std::string why = whyNot(recording, sound, own_.contains(recording.id)); !why.empty()) {
      rejected_[recording.file] = std::move(why);
      continue;
    }
    // The parsed sound points into the image's buffer, which moves into the map's node whole.
    const auto& image = own_[recording.id] = std::move(recording.image);
    clips_[recording.id] = {image, *sound};
  }
  for (const auto& [id, clip] : clips_) {
    format_.sampleRate = std::max(format_.sampleRate, clip.sound.format.sampleRate);
    format_.bitsPerSample = std::max(format_.bitsPerSample, clip.sound.format.bitsPerSample);
  }
  format_.bitsPerSample = std::min<std::uint16_t>(format_.bitsPerSample, 16);
  format_.channels = 1;
  format_.blockAlign = format_.bitsPerSample / 8;
  for (auto& [id, clip] : clips_) {
    const PcmFormat& is = clip.sound.format;
    if (is.channels == 1 && is.sampleRate == format_.sampleRate &&
        is.bitsPerSample == format_.bitsPerSample) {
      continue;
    }
    const auto& samples = converted_[id] = convertPcm(clip.sound, format_);
    clip.sound = {format_, samples};
  }
}

const ReadClip* Voice::find(std::int16_t id) const {
  const auto found = clips_.find(id);
  return found == clips_.end() ? nullptr : &found->second;
}

namespace {
Voice& inUse() {
  static Voice voice;
  return voice;
}
}  // namespace

const Voice& voiceInUse() {
  return inUse();
}

void speakWith(Voice voice) {
  inUse() = std::move(voice);
}
