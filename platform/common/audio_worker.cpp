#include "platform/common/audio_worker.h"

#include <thread>
#include <utility>

std::shared_ptr<AudioWorker> AudioWorker::start(std::unique_ptr<AudioDevice> device,
                                                std::chrono::milliseconds idleClose) {
  std::shared_ptr<AudioWorker> worker(new AudioWorker(std::move(device), idleClose));
  std::thread([worker] { worker->run(); }).detach();
  return worker;
}

AudioWorker::AudioWorker(std::unique_ptr<AudioDevice> device, std::chrono::milliseconds idleClose)
    : device_(std::move(device)), idleClose_(idleClose) {}

bool AudioWorker::stillStuck() {
  std::lock_guard lock(mutex_);
  return abandoned_ && !ended_;
}

AudioWorker::Outcome AudioWorker::play(const PcmClip& clip,
                                       std::chrono::steady_clock::time_point deadline,
                                       const std::function<void()>& whilePlaying) {
  constexpr std::chrono::milliseconds slice{5};
  // A look that comes this late found a process that did not run meanwhile, nor fed the device.
  constexpr std::chrono::milliseconds stoodStill{50};
  std::unique_lock lock(mutex_);
  // No copy: the samples outlive a worker that goes on after the caller stopped waiting.
  job_ = clip;
  result_.reset();
  wake_.notify_all();
  auto lastLook = std::chrono::steady_clock::now();
  while (!wake_.wait_for(lock, slice, [this] { return result_.has_value(); })) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastLook > stoodStill) deadline += now - lastLook;
    lastLook = now;
    if (now >= deadline) return Outcome::timedOut;
    if (!whilePlaying) continue;
    lock.unlock();
    whilePlaying();
    lock.lock();
  }
  return *result_ ? Outcome::played : Outcome::failed;
}

std::string AudioWorker::failure() {
  std::lock_guard lock(mutex_);
  return failure_;
}

bool AudioWorker::isAbandoned() {
  std::lock_guard lock(mutex_);
  return abandoned_;
}

void AudioWorker::abandon() {
  std::lock_guard lock(mutex_);
  if (abandoned_) return;
  abandoned_ = true;
  device_->interrupt();
  wake_.notify_all();
}

void AudioWorker::run() {
  std::unique_lock lock(mutex_);
  const auto jobOrEnd = [this] { return job_ || abandoned_; };
  while (!abandoned_) {
    if (!device_->isOpen()) {
      wake_.wait(lock, jobOrEnd);
    } else if (!wake_.wait_for(lock, idleClose_, jobOrEnd)) {
      lock.unlock();
      device_->closeDevice();
      lock.lock();
      continue;
    }
    if (abandoned_) break;
    const PcmClip clip = *std::exchange(job_, std::nullopt);
    lock.unlock();
    const bool played = playOnDevice(clip);
    const std::string failure = played ? "" : device_->failure();
    lock.lock();
    result_ = played;
    failure_ = failure;
    wake_.notify_all();
  }
  lock.unlock();
  device_->closeDevice();
  lock.lock();
  ended_ = true;
}

// A device kept open between clips may have lost its sound system meanwhile (a server restarted,
// a headset unplugged): it is opened afresh once and the clip played from its start.
bool AudioWorker::playOnDevice(const PcmClip& clip) {
  const bool wasOpen = device_->isOpen();
  if (device_->play(clip)) return true;
  if (!wasOpen || isAbandoned()) return false;
  device_->closeDevice();
  return device_->play(clip);
}
