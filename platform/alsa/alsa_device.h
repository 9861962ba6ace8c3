#pragma once

#include <alsa/asoundlib.h>
#include <atomic>
#include <string>

#include "platform/common/audio_device.h"

// A PCM device of ALSA's, "default" as the user's configuration has it. ALSA's own error printing
// is silenced: a clock without sound must stay quiet.
class AlsaDevice : public AudioDevice {
 public:
  explicit AlsaDevice(std::string name);
  ~AlsaDevice() override;
  AlsaDevice(const AlsaDevice&) = delete;
  AlsaDevice& operator=(const AlsaDevice&) = delete;

  bool play(const PcmClip& clip) override;
  bool isOpen() const override { return pcm_ != nullptr; }
  void close() override;
  void interrupt() override { interrupted_ = true; }
  std::string failure() const override { return failure_; }

 private:
  bool openFor(const PcmFormat& format);
  bool fail(const char* call, int error);

  const std::string name_;
  std::atomic<bool> interrupted_{false};
  snd_pcm_t* pcm_ = nullptr;
  PcmFormat openFormat_{};
  std::string failure_;
};
