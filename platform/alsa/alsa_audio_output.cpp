#include "platform/alsa/alsa_audio_output.h"

#include <alsa/asoundlib.h>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/alsa/alsa_worker.h"

namespace {

// ALSA prints its errors on stderr; a clock without sound must stay quiet.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Beyond this many hung workers every clip stays silent, so a frozen server costs no more threads.
constexpr int maxStuckWorkers = 3;

bool debugWanted() {
  const char* debug = std::getenv("LURVENDEL_DEBUG");
  return debug && std::string_view(debug) == "1";
}

}  // namespace

AlsaAudioOutput::AlsaAudioOutput(std::string device, AlsaTiming timing,
                                 std::function<void()> whilePlaying)
    : device_(std::move(device)),
      timing_(timing),
      whilePlaying_(std::move(whilePlaying)),
      debug_(debugWanted()) {
  snd_lib_error_set_handler(ignoreAlsaError);
}

AlsaAudioOutput::~AlsaAudioOutput() {
  if (worker_) worker_->abandon();
}

void AlsaAudioOutput::play(std::int16_t, const PcmClip& sound) {
  const auto start = std::chrono::steady_clock::now();
  const bool tooManyStuck = Worker::stuckCount() >= maxStuckWorkers;
  if (tooManyStuck || failedRecently(start)) {
    report(tooManyStuck ? "zu viele hängende Wiedergaben, übersprungen"
                        : "übersprungen, das Gerät scheiterte eben");
    lastFailed_ = lastFailed_ || tooManyStuck;
    lastEnded_ = start;
    return;
  }
  if (!worker_) worker_ = Worker::start(device_, timing_.idleClose);
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

bool AlsaAudioOutput::failedRecently(std::chrono::steady_clock::time_point now) const {
  return lastFailed_ && now - lastEnded_ < timing_.retryAfterQuiet;
}

void AlsaAudioOutput::report(const std::string& why) const {
  if (debug_)
    std::fprintf(stderr, "lurvendel: kein Ton über %s: %s\n", device_.c_str(), why.c_str());
}
