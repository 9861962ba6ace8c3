#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/audio_device.h"
#include "platform/win32/unique_handles.h"

// An open waveOut device; what it still plays is dropped before it closes.
struct WaveOutTraits {
  using Handle = HWAVEOUT;
  static HWAVEOUT empty() { return nullptr; }
  static bool holds(HWAVEOUT device) { return device != nullptr; }
  static void free(HWAVEOUT device) {
    waveOutReset(device);
    waveOutClose(device);
  }
};

// waveOut's default device, as it is at each open: a device that came back is found again.
class Win32AudioDevice : public AudioDevice {
 public:
  Win32AudioDevice();

  bool play(const PcmClip& clip) override;
  bool isOpen() const override { return static_cast<bool>(device_); }
  void closeDevice() override { device_.reset(); }
  void interrupt() override { SetEvent(interrupted_.get()); }
  std::string failure() const override { return failure_; }

 private:
  bool openFor(const PcmFormat& format);
  bool fail(const char* call, MMRESULT error);

  UniqueHandle bufferDone_;   // waveOut's signal that a buffer has been played
  UniqueHandle interrupted_;  // wakes a play that waits for its buffer
  UniqueResource<WaveOutTraits> device_;
  PcmFormat openFormat_{};
  std::vector<std::int16_t> wide_;  // the clip being played, as 16-bit samples
  std::string failure_;
};
