#include "platform/win32/wave_out_audio_output.h"

#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/win32/console_output.h"
#include "platform/win32/wave_out_worker.h"

namespace {

// Beyond this many hung workers every clip stays silent, so a hung driver costs no more threads.
constexpr int maxStuckWorkers = 3;

bool debugWanted() {
  const char* debug = std::getenv("LURVENDEL_DEBUG");
  return debug && std::string_view(debug) == "1";
}

}  // namespace

WaveOutAudioOutput::WaveOutAudioOutput(WaveOutTiming timing, std::function<void()> whilePlaying)
    : timing_(timing), whilePlaying_(std::move(whilePlaying)), debug_(debugWanted()) {}

WaveOutAudioOutput::~WaveOutAudioOutput() {
  if (worker_) worker_->abandon();
}

void WaveOutAudioOutput::play(std::int16_t, const PcmClip& sound) {
  const auto start = std::chrono::steady_clock::now();
  const bool tooManyStuck = Worker::stuckCount() >= maxStuckWorkers;
  if (tooManyStuck || failedRecently(start)) {
    report(tooManyStuck ? "zu viele hängende Wiedergaben, übersprungen"
                        : "übersprungen, das Gerät scheiterte eben");
    lastFailed_ = lastFailed_ || tooManyStuck;
    lastEnded_ = start;
    return;
  }
  if (!worker_) worker_ = Worker::start(timing_.idleClose);
  const auto length = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(sound.seconds()));
  const auto outcome = worker_->play(sound, start + length + timing_.deadlineMargin, whilePlaying_);
  if (outcome == Worker::Outcome::failed) report(worker_->failure());
  if (outcome == Worker::Outcome::timedOut) {
    report("keine Antwort vor der Frist, aufgegeben");
    worker_->abandon();
    worker_.reset();
  }
  lastFailed_ = outcome != Worker::Outcome::played;
  lastEnded_ = std::chrono::steady_clock::now();
}

bool WaveOutAudioOutput::failedRecently(std::chrono::steady_clock::time_point now) const {
  return lastFailed_ && now - lastEnded_ < timing_.retryAfterQuiet;
}

void WaveOutAudioOutput::report(const std::string& why) const {
  if (debug_)
    writeToStarter(StandardStream::error,
                   "lurvendel: kein Ton über das Standardgerät: " + why + "\n");
}
