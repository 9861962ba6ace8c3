#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/common/audio_device.h"

// A thread that owns one sound device and plays one clip at a time. The owner may give up on it
// (when a call into the sound system hangs); it then closes its device and ends once the sound
// system lets it go. An open device is closed after a while without clips; a closed one is waited
// on for good, so that an idle clock holds no device and its worker never wakes.
class AudioWorker {
 public:
  enum class Outcome { played, failed, timedOut };

  static std::shared_ptr<AudioWorker> start(std::unique_ptr<AudioDevice> device,
                                            std::chrono::milliseconds idleClose);

  // Waits for the clip in slices, running whilePlaying between them. Time in which the caller
  // itself did not run (a stopped or starved process) does not count against the deadline.
  Outcome play(const PcmClip& clip, std::chrono::steady_clock::time_point deadline,
               const std::function<void()>& whilePlaying);
  // Lets the thread end; it never blocks the caller.
  void abandon();
  // Given up on, and still held by the sound system.
  bool stillStuck();
  // Why the last clip failed: the call and the sound system's words.
  std::string failure();

 private:
  AudioWorker(std::unique_ptr<AudioDevice> device, std::chrono::milliseconds idleClose);
  void run();
  bool playOnDevice(const PcmClip& clip);
  bool isAbandoned();

  const std::unique_ptr<AudioDevice> device_;  // used by the worker thread, but interrupt()
  const std::chrono::milliseconds idleClose_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<PcmClip> job_;
  std::optional<bool> result_;
  std::string failure_;
  bool abandoned_ = false;
  bool ended_ = false;
};
