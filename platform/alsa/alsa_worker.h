#pragma once

#include <alsa/asoundlib.h>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/alsa/alsa_audio_output.h"

// A thread that owns one PCM device and plays one clip at a time. The owner may give up on it
// (when a call into ALSA hangs); it then closes its device and ends once ALSA lets it go.
class AlsaAudioOutput::Worker : public std::enable_shared_from_this<Worker> {
 public:
  enum class Outcome { played, failed, timedOut };

  static std::shared_ptr<Worker> start(std::string device, std::chrono::milliseconds idleClose);

  // Waits for the clip in slices, running whilePlaying between them.
  Outcome play(const PcmClip& clip, std::chrono::steady_clock::time_point deadline,
               const std::function<void()>& whilePlaying);
  // Lets the thread end; it never blocks the caller.
  void abandon();
  // Workers given up on that are still stuck in ALSA.
  static int stuckCount();
  // Why the last clip failed: the ALSA call and ALSA's words.
  std::string failure();

 private:
  Worker(std::string device, std::chrono::milliseconds idleClose);
  void run();
  bool isAbandoned();
  bool playOnDevice(const PcmClip& clip);
  bool playOnce(const PcmClip& clip);
  bool isOpenFor(const PcmFormat& format) const;
  bool openFor(const PcmFormat& format);
  void closeDevice();
  bool fail(const char* call, int error);

  const std::string device_;
  const std::chrono::milliseconds idleClose_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<PcmClip> job_;
  std::optional<bool> result_;
  std::string failure_;
  bool abandoned_ = false;

  snd_pcm_t* pcm_ = nullptr;  // touched by the worker thread only
  PcmFormat openFormat_{};
};
