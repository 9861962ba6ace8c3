#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/win32/wave_out_audio_output.h"
#include "platform/win32/windows_headers.h"

// A thread that owns the waveOut device and plays one clip at a time. The owner may give up on it
// (when a call into waveOut hangs); it then stops its clip, closes its device and ends once the
// driver lets it go.
class WaveOutAudioOutput::Worker {
 public:
  enum class Outcome { played, failed, timedOut };

  static std::shared_ptr<Worker> start(std::chrono::milliseconds idleClose);
  ~Worker();
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Waits for the clip in slices, running whilePlaying between them.
  Outcome play(const PcmClip& clip, std::chrono::steady_clock::time_point deadline,
               const std::function<void()>& whilePlaying);
  // Lets the thread end; it never blocks the caller.
  void abandon();
  // Workers given up on that are still stuck in waveOut.
  static int stuckCount();
  // Why the last clip failed: the waveOut call and Windows' words.
  std::string failure();

 private:
  explicit Worker(std::chrono::milliseconds idleClose);
  void run();
  bool playOnDevice(const PcmClip& clip);
  bool playOnce(const PcmClip& clip);
  bool isOpenFor(const PcmFormat& format) const;
  bool openFor(const PcmFormat& format);
  void closeDevice();
  bool fail(const char* call, MMRESULT error);

  const std::chrono::milliseconds idleClose_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<PcmClip> job_;
  std::optional<bool> result_;
  std::string failure_;
  bool abandoned_ = false;

  // Touched by the worker thread only, but for the events, which both may set.
  HANDLE bufferDone_;      // waveOut's signal that a buffer has been played
  HANDLE abandonedEvent_;  // wakes a worker that waits for its buffer
  HWAVEOUT device_ = nullptr;
  PcmFormat openFormat_{};
  std::vector<std::int16_t> wide_;  // the clip being played, as 16-bit samples
};
