#include "platform/alsa/alsa_worker.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

namespace {

std::atomic<int> stuckWorkers{0};

// ALSA reads its configuration once per process, and with it whether "default" goes to a sound
// server, as one runs at that moment. After an open failed, the next open has it read anew, so
// that a server started after the clock is found. Freeing it is safe while a worker given up on
// still sits inside ALSA: whatever uses the configuration or a plugin holds a reference to it.
std::atomic<bool> configMayBeStale{false};

// Enough buffer that a busy machine does not starve the device in the middle of a word (60 ms
// did under load). The first sample still starts at once: the whole clip is written in one go.
constexpr unsigned latencyMicroseconds = 250'000;

}  // namespace

using Worker = AlsaAudioOutput::Worker;

std::shared_ptr<Worker> Worker::start(std::string device, std::chrono::milliseconds idleClose) {
  std::shared_ptr<Worker> worker(new Worker(std::move(device), idleClose));
  std::thread([worker] { worker->run(); }).detach();
  return worker;
}

Worker::Worker(std::string device, std::chrono::milliseconds idleClose)
    : device_(std::move(device)), idleClose_(idleClose) {}

int Worker::stuckCount() {
  return stuckWorkers.load();
}

Worker::Outcome Worker::play(const PcmClip& clip, std::chrono::steady_clock::time_point deadline,
                             const std::function<void()>& whilePlaying) {
  constexpr std::chrono::milliseconds slice{5};
  std::unique_lock lock(mutex_);
  // No copy: the samples outlive a worker that goes on after the caller stopped waiting.
  job_ = clip;
  result_.reset();
  wake_.notify_all();
  while (!wake_.wait_for(lock, slice, [this] { return result_.has_value(); })) {
    if (std::chrono::steady_clock::now() >= deadline) return Outcome::timedOut;
    if (!whilePlaying) continue;
    lock.unlock();
    whilePlaying();
    lock.lock();
  }
  return *result_ ? Outcome::played : Outcome::failed;
}

std::string Worker::failure() {
  std::lock_guard lock(mutex_);
  return failure_;
}

bool Worker::fail(const char* call, int error) {
  std::lock_guard lock(mutex_);
  failure_ = std::string(call) + ": " + snd_strerror(error);
  return false;
}

bool Worker::isAbandoned() {
  std::lock_guard lock(mutex_);
  return abandoned_;
}

void Worker::abandon() {
  std::lock_guard lock(mutex_);
  if (abandoned_) return;
  abandoned_ = true;
  ++stuckWorkers;
  wake_.notify_all();
}

void Worker::run() {
  std::unique_lock lock(mutex_);
  const auto jobOrEnd = [this] { return job_ || abandoned_; };
  while (!abandoned_) {
    // An open device is closed after a while without clips; a closed one is waited on for good,
    // so that an idle clock holds no device and its worker never wakes.
    if (!pcm_) {
      wake_.wait(lock, jobOrEnd);
    } else if (!wake_.wait_for(lock, idleClose_, jobOrEnd)) {
      lock.unlock();
      closeDevice();
      lock.lock();
      continue;
    }
    if (abandoned_) break;
    const PcmClip clip = *std::exchange(job_, std::nullopt);
    lock.unlock();
    const bool played = playOnDevice(clip);
    lock.lock();
    result_ = played;
    wake_.notify_all();
  }
  lock.unlock();
  closeDevice();
  --stuckWorkers;
}

// A device kept open between clips may have lost its server meanwhile (a restart, a headset
// switch): it is opened afresh once and the clip played from its start.
bool Worker::playOnDevice(const PcmClip& clip) {
  const bool wasOpen = isOpenFor(clip.format);
  if (playOnce(clip)) return true;
  if (!wasOpen || isAbandoned()) return false;
  closeDevice();
  return playOnce(clip);
}

bool Worker::playOnce(const PcmClip& clip) {
  const PcmFormat& format = clip.format;
  if (!openFor(format)) return false;
  const snd_pcm_uframes_t frames = clip.frames();
  // Written in pieces, so that a worker given up on while the server hung drops the rest of
  // its word instead of playing it late over the next announcement.
  const snd_pcm_uframes_t piece = format.sampleRate / 10;
  snd_pcm_uframes_t written = 0;
  while (written < frames) {
    if (isAbandoned()) {
      snd_pcm_drop(pcm_);
      return false;
    }
    const snd_pcm_sframes_t n = snd_pcm_writei(
        pcm_, clip.samples.data() + written * format.blockAlign, std::min(piece, frames - written));
    if (n < 0) {
      if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) == 0) continue;
      closeDevice();
      return fail("snd_pcm_writei", static_cast<int>(n));
    }
    written += static_cast<snd_pcm_uframes_t>(n);
  }
  // Returns when the last sample has been played.
  if (const int error = snd_pcm_drain(pcm_); error != 0) {
    closeDevice();
    return fail("snd_pcm_drain", error);
  }
  // The next clip starts from a prepared device; one that cannot be prepared is opened anew.
  if (snd_pcm_prepare(pcm_) != 0) closeDevice();
  return true;
}

bool Worker::isOpenFor(const PcmFormat& format) const {
  return pcm_ && format.channels == openFormat_.channels &&
         format.sampleRate == openFormat_.sampleRate &&
         format.bitsPerSample == openFormat_.bitsPerSample;
}

bool Worker::openFor(const PcmFormat& format) {
  if (isOpenFor(format)) return true;
  closeDevice();
  if (configMayBeStale.exchange(false)) snd_config_update_free_global();
  if (const int error = snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, 0)) {
    pcm_ = nullptr;
    configMayBeStale = true;
    return fail("snd_pcm_open", error);
  }
  const snd_pcm_format_t sampleFormat =
      format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
  if (const int error =
          snd_pcm_set_params(pcm_, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                             format.sampleRate, 1, latencyMicroseconds)) {
    closeDevice();
    return fail("snd_pcm_set_params", error);
  }
  openFormat_ = format;
  return true;
}

void Worker::closeDevice() {
  if (!pcm_) return;
  snd_pcm_close(pcm_);
  pcm_ = nullptr;
}
