#include "platform/common/deadline_audio_output.h"

#include <cstdio>
#include <thread>
#include <utility>

#include "platform/common/audio_worker.h"
#include "platform/common/debug_wanted.h"

DeadlineAudioOutput::DeadlineAudioOutput(MakeDevice makeDevice, std::string device,
                                         AudioTiming timing, std::function<void()> whilePlaying,
                                         std::function<void(const std::string&)> say)
    : makeDevice_(std::move(makeDevice)),
      device_(std::move(device)),
      timing_(timing),
      whilePlaying_(std::move(whilePlaying)),
      say_(std::move(say)),
      debug_(debugWanted()) {}

DeadlineAudioOutput::~DeadlineAudioOutput() {
  if (worker_) worker_->abandon();
}

void DeadlineAudioOutput::play(std::int16_t, const PcmClip& sound) {
  const auto start = std::chrono::steady_clock::now();
  const auto length = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(sound.seconds()));
  if (givenUpOn_ && givenUpOn_->stillStuck()) {
    // A new worker would hang as well. The word passes in silence at its pace, so that what is
    // queued behind it is still there to be heard once the sound system lets go.
    report("übersprungen, das Gerät hängt noch");
    waitSilently(start + length);
    return;
  }
  if (failedRecently(start)) {
    // A skipped clip leaves the time of the failure as it was: words that keep coming must not
    // keep the device silent for the rest of the day.
    report("übersprungen, das Gerät scheiterte eben");
    return;
  }
  if (!worker_) worker_ = AudioWorker::start(makeDevice_(), timing_.idleClose);
  const auto outcome = worker_->play(sound, start + length + timing_.deadlineMargin, whilePlaying_);
  if (outcome == AudioWorker::Outcome::failed) report(worker_->failure());
  if (outcome == AudioWorker::Outcome::timedOut) {
    report("keine Antwort vor der Frist, aufgegeben");
    worker_->abandon();
    givenUpOn_ = std::move(worker_);
  }
  lastFailed_ = outcome != AudioWorker::Outcome::played;
  lastEnded_ = std::chrono::steady_clock::now();
}

void DeadlineAudioOutput::waitSilently(std::chrono::steady_clock::time_point until) const {
  while (std::chrono::steady_clock::now() < until) {
    if (whilePlaying_) whilePlaying_();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool DeadlineAudioOutput::failedRecently(std::chrono::steady_clock::time_point now) const {
  return lastFailed_ && now - lastEnded_ < timing_.retryAfterQuiet;
}

void DeadlineAudioOutput::report(const std::string& why) const {
  if (!debug_) return;
  const std::string line = "lurvendel: kein Ton über " + device_ + ": " + why + "\n";
  if (say_) {
    say_(line);
  } else {
    std::fputs(line.c_str(), stderr);
  }
}
