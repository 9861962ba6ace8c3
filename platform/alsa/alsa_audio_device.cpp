#include "platform/alsa/alsa_audio_device.h"

#include <algorithm>
#include <utility>

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA reads its configuration once per process, and with it whether "default" goes to a sound
// server, as one runs at that moment. After an open failed, the next open has it read anew, so
// that a server started after the clock is found. Freeing it is safe while a device given up on
// still sits inside ALSA: whatever uses the configuration or a plugin holds a reference to it.
std::atomic<bool> configMayBeStale{false};

// Enough buffer that a busy machine does not starve the device in the middle of a word (60 ms
// did under load). The first sample still starts at once: the whole clip is written in one go.
constexpr unsigned latencyMicroseconds = 250'000;

}  // namespace

AlsaAudioDevice::AlsaAudioDevice(std::string name) : name_(std::move(name)) {
  snd_lib_error_set_handler(ignoreAlsaError);
}

bool AlsaAudioDevice::play(const PcmClip& clip) {
  const PcmFormat& format = clip.format;
  if (!openFor(format)) return false;
  const snd_pcm_uframes_t frames = clip.frames();
  // Written in pieces, so that a device given up on while the server hung drops the rest of its
  // word instead of playing it late over the next announcement.
  const snd_pcm_uframes_t piece = format.sampleRate / 10;
  snd_pcm_uframes_t written = 0;
  while (written < frames) {
    // The worker given up on closes the device next, which drops what is queued.
    if (interrupted_) return false;
    const snd_pcm_sframes_t n =
        snd_pcm_writei(pcm_.get(), clip.samples.data() + written * format.blockAlign,
                       std::min(piece, frames - written));
    if (n < 0) {
      if (snd_pcm_recover(pcm_.get(), static_cast<int>(n), 1) == 0) continue;
      closeDevice();
      return fail("snd_pcm_writei", static_cast<int>(n));
    }
    written += static_cast<snd_pcm_uframes_t>(n);
  }
  // Returns when the last sample has been played.
  if (const int error = snd_pcm_drain(pcm_.get()); error != 0) {
    closeDevice();
    return fail("snd_pcm_drain", error);
  }
  // The next clip starts from a prepared device; one that cannot be prepared is opened anew.
  if (snd_pcm_prepare(pcm_.get()) != 0) closeDevice();
  return true;
}

bool AlsaAudioDevice::openFor(const PcmFormat& format) {
  if (pcm_ && format.channels == openFormat_.channels &&
      format.sampleRate == openFormat_.sampleRate &&
      format.bitsPerSample == openFormat_.bitsPerSample) {
    return true;
  }
  closeDevice();
  if (configMayBeStale.exchange(false)) snd_config_update_free_global();
  snd_pcm_t* opened = nullptr;
  if (const int error = snd_pcm_open(&opened, name_.c_str(), SND_PCM_STREAM_PLAYBACK, 0)) {
    configMayBeStale = true;
    return fail("snd_pcm_open", error);
  }
  pcm_.reset(opened);
  const snd_pcm_format_t sampleFormat =
      format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
  if (const int error =
          snd_pcm_set_params(pcm_.get(), sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED,
                             format.channels, format.sampleRate, 1, latencyMicroseconds)) {
    closeDevice();
    return fail("snd_pcm_set_params", error);
  }
  openFormat_ = format;
  return true;
}

bool AlsaAudioDevice::fail(const char* call, int error) {
  failure_ = std::string(call) + ": " + snd_strerror(error);
  return false;
}
