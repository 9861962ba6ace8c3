#include "platform/win32/wave_out_worker.h"

#include <atomic>
#include <thread>
#include <utility>

#include "platform/win32/wide_text.h"

namespace {
std::atomic<int> stuckWorkers{0};
}  // namespace

using Worker = WaveOutAudioOutput::Worker;

std::shared_ptr<Worker> Worker::start(std::chrono::milliseconds idleClose) {
  std::shared_ptr<Worker> worker(new Worker(idleClose));
  std::thread([worker] { worker->run(); }).detach();
  return worker;
}

Worker::Worker(std::chrono::milliseconds idleClose)
    : idleClose_(idleClose),
      bufferDone_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      abandonedEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Worker::~Worker() {
  CloseHandle(bufferDone_);
  CloseHandle(abandonedEvent_);
}

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

bool Worker::fail(const char* call, MMRESULT error) {
  wchar_t text[MAXERRORLENGTH] = {};
  waveOutGetErrorTextW(error, text, MAXERRORLENGTH);
  std::lock_guard lock(mutex_);
  failure_ = std::string(call) + ": " + narrow(text);
  return false;
}

void Worker::abandon() {
  std::lock_guard lock(mutex_);
  if (abandoned_) return;
  abandoned_ = true;
  ++stuckWorkers;
  SetEvent(abandonedEvent_);
  wake_.notify_all();
}

// While the device is closed the thread sleeps until the next clip: an idle clock wakes for
// nothing.
void Worker::run() {
  std::unique_lock lock(mutex_);
  const auto jobOrEnd = [this] { return job_ || abandoned_; };
  while (!abandoned_) {
    if (!device_) {
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

// A device kept open between clips may have gone meanwhile (a headset unplugged, the audio
// service restarted): it is opened afresh once and the clip played from its start.
bool Worker::playOnDevice(const PcmClip& clip) {
  const bool wasOpen = device_ != nullptr;
  if (playOnce(clip)) return true;
  if (!wasOpen || WaitForSingleObject(abandonedEvent_, 0) == WAIT_OBJECT_0) return false;
  closeDevice();
  return playOnce(clip);
}

// Eight-bit samples go out as sixteen: where a stream runs dry between two clips, wine's sound
// stack fills the gap with zero bytes, which as unsigned 8-bit samples are a loud click.
bool Worker::playOnce(const PcmClip& clip) {
  PcmFormat format = clip.format;
  std::span<const std::uint8_t> bytes = clip.samples;
  if (format.bitsPerSample == 8) {
    wide_.assign(clip.samples.begin(), clip.samples.end());
    for (std::int16_t& sample : wide_) sample = static_cast<std::int16_t>((sample - 128) * 256);
    format.bitsPerSample = 16;
    format.blockAlign = static_cast<std::uint16_t>(format.blockAlign * 2);
    bytes = {reinterpret_cast<const std::uint8_t*>(wide_.data()), wide_.size() * sizeof wide_[0]};
  }
  if (!openFor(format)) return false;
  WAVEHDR header{};
  // waveOut only reads the buffer.
  header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(bytes.data()));
  header.dwBufferLength = static_cast<DWORD>(bytes.size());
  if (const MMRESULT error = waveOutPrepareHeader(device_, &header, sizeof header)) {
    closeDevice();
    return fail("waveOutPrepareHeader", error);
  }
  ResetEvent(bufferDone_);
  if (const MMRESULT error = waveOutWrite(device_, &header, sizeof header)) {
    waveOutUnprepareHeader(device_, &header, sizeof header);
    closeDevice();
    return fail("waveOutWrite", error);
  }
  // Returns when the last sample has been played, or, given up on, drops the rest of the word
  // instead of playing it late over the next announcement.
  const HANDLE waits[] = {bufferDone_, abandonedEvent_};
  bool abandoned = false;
  while (!(header.dwFlags & WHDR_DONE) && !abandoned) {
    abandoned = WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0;
  }
  if (abandoned) waveOutReset(device_);
  waveOutUnprepareHeader(device_, &header, sizeof header);
  return !abandoned;
}

bool Worker::isOpenFor(const PcmFormat& format) const {
  return device_ && format.channels == openFormat_.channels &&
         format.sampleRate == openFormat_.sampleRate &&
         format.bitsPerSample == openFormat_.bitsPerSample;
}

// The default device as it is at this moment: a device that came back is found again.
bool Worker::openFor(const PcmFormat& format) {
  if (isOpenFor(format)) return true;
  closeDevice();
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = format.channels;
  wave.nSamplesPerSec = format.sampleRate;
  wave.wBitsPerSample = format.bitsPerSample;
  wave.nBlockAlign = format.blockAlign;
  wave.nAvgBytesPerSec = format.sampleRate * format.blockAlign;
  if (const MMRESULT error =
          waveOutOpen(&device_, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(bufferDone_), 0,
                      CALLBACK_EVENT)) {
    device_ = nullptr;
    return fail("waveOutOpen", error);
  }
  openFormat_ = format;
  return true;
}

void Worker::closeDevice() {
  if (!device_) return;
  waveOutReset(device_);
  waveOutClose(device_);
  device_ = nullptr;
}
