#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "core/ports/audio_output.h"

struct WaveOutTiming {
  std::chrono::milliseconds idleClose{3000};
  std::chrono::milliseconds deadlineMargin{1000};
  // After a failure, clips that follow within this time stay silent at once; the next
  // announcement tries the device again.
  std::chrono::milliseconds retryAfterQuiet{300};
};

// Plays clips through waveOut's default device on a worker thread that owns the device, while the
// caller waits with a deadline: a driver that hangs can block waveOut's calls for ever, and the
// clock must go on. The device stays open while clips follow one another (no gap between words)
// and is closed once sound has been idle for a while, so an idle clock holds no device. While it
// waits, the caller's whilePlaying runs over and over, every few milliseconds. Failures are
// silent; with LURVENDEL_DEBUG=1 in the environment each clip that stays silent says why, in one
// line on stderr.
class WaveOutAudioOutput : public AudioOutput {
 public:
  explicit WaveOutAudioOutput(WaveOutTiming timing = {}, std::function<void()> whilePlaying = {});
  ~WaveOutAudioOutput() override;
  WaveOutAudioOutput(const WaveOutAudioOutput&) = delete;
  WaveOutAudioOutput& operator=(const WaveOutAudioOutput&) = delete;

  void play(std::int16_t id, const PcmClip& sound) override;

  class Worker;

 private:
  bool failedRecently(std::chrono::steady_clock::time_point now) const;
  void report(const std::string& why) const;

  WaveOutTiming timing_;
  std::function<void()> whilePlaying_;
  bool debug_;
  std::shared_ptr<Worker> worker_;
  bool lastFailed_ = false;
  std::chrono::steady_clock::time_point lastEnded_{};
};
