#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/audio_device.h"
#include "platform/win32/windows_headers.h"

// waveOut's default device, as it is at each open: a device that came back is found again.
class Win32AudioDevice : public AudioDevice {
 public:
  Win32AudioDevice();
  ~Win32AudioDevice() override;
  Win32AudioDevice(const Win32AudioDevice&) = delete;
  Win32AudioDevice& operator=(const Win32AudioDevice&) = delete;

  bool play(const PcmClip& clip) override;
  bool isOpen() const override { return device_ != nullptr; }
  void close() override;
  void interrupt() override { SetEvent(interrupted_); }
  std::string failure() const override { return failure_; }

 private:
  bool openFor(const PcmFormat& format);
  bool fail(const char* call, MMRESULT error);

  HANDLE bufferDone_;   // waveOut's signal that a buffer has been played
  HANDLE interrupted_;  // wakes a play that waits for its buffer
  HWAVEOUT device_ = nullptr;
  PcmFormat openFormat_{};
  std::vector<std::int16_t> wide_;  // the clip being played, as 16-bit samples
  std::string failure_;
};
