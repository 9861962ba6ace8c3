#pragma once

#include <alsa/asoundlib.h>
#include <atomic>
#include <string>

#include "platform/common/audio_device.h"
#include "platform/common/unique_resource.h"

struct PcmTraits {
  using Handle = snd_pcm_t*;
  static snd_pcm_t* empty() { return nullptr; }
  static bool holds(snd_pcm_t* pcm) { return pcm != nullptr; }
  static void free(snd_pcm_t* pcm) { snd_pcm_close(pcm); }
};

// A PCM device of ALSA's, "default" as the user's configuration has it. ALSA's own error printing
// is silenced: a clock without sound must stay quiet.
class AlsaAudioDevice : public AudioDevice {
 public:
  explicit AlsaAudioDevice(std::string name);

  bool play(const PcmClip& clip) override;
  bool isOpen() const override { return static_cast<bool>(pcm_); }
  void closeDevice() override { pcm_.reset(); }
  void interrupt() override { interrupted_ = true; }
  std::string failure() const override { return failure_; }

 private:
  bool openFor(const PcmFormat& format);
  bool fail(const char* call, int error);

  const std::string name_;
  std::atomic<bool> interrupted_{false};
  UniqueResource<PcmTraits> pcm_;
  PcmFormat openFormat_{};
  std::string failure_;
};
