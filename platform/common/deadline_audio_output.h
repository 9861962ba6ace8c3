#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "core/ports/audio_output.h"
#include "platform/common/audio_device.h"

class AudioWorker;

struct AudioTiming {
  std::chrono::milliseconds idleClose{3000};
  std::chrono::milliseconds deadlineMargin{1000};
  // Clips that come within this time of a failure stay silent at once; the first one after it
  // tries the device again, however many were skipped. After a device that hung, clips pass in
  // silence at their pace instead, until the sound system lets go of the worker given up on.
  std::chrono::milliseconds retryAfterQuiet{300};
};

// Plays clips on a worker thread that owns the device, while the caller waits with a deadline: a
// sound system that freezes can block its calls for ever, and the clock must go on. The device
// stays open while clips follow one another (no gap between words) and is closed once sound has
// been idle for a while, so an idle clock holds no device. While it waits, the caller's
// whilePlaying runs over and over, every few milliseconds. Failures are silent; with
// LURVENDEL_DEBUG=1 in the environment each clip that stays silent says why in one line, through
// `say`.
class DeadlineAudioOutput : public AudioOutput {
 public:
  using MakeDevice = std::function<std::unique_ptr<AudioDevice>()>;

  // `device` names the device for the user.
  DeadlineAudioOutput(MakeDevice makeDevice, std::string device, AudioTiming timing = {},
                      std::function<void()> whilePlaying = {},
                      std::function<void(const std::string&)> say = {});
  ~DeadlineAudioOutput() override;
  DeadlineAudioOutput(const DeadlineAudioOutput&) = delete;
  DeadlineAudioOutput& operator=(const DeadlineAudioOutput&) = delete;

  void play(std::int16_t id, const PcmClip& sound) override;

 private:
  bool failedRecently(std::chrono::steady_clock::time_point now) const;
  void waitSilently(std::chrono::steady_clock::time_point until) const;
  void report(const std::string& why) const;

  MakeDevice makeDevice_;
  std::string device_;
  AudioTiming timing_;
  std::function<void()> whilePlaying_;
  std::function<void(const std::string&)> say_;
  bool debug_;
  std::shared_ptr<AudioWorker> worker_;
  std::shared_ptr<AudioWorker> givenUpOn_;  // the last worker given up on
  bool lastFailed_ = false;
  std::chrono::steady_clock::time_point lastEnded_{};
};
