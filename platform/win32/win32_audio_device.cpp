#include "platform/win32/win32_audio_device.h"

#include <span>

#include "platform/win32/debug_lines.h"
#include "platform/win32/wide_text.h"

Win32AudioDevice::Win32AudioDevice()
    : bufferDone_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      interrupted_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (!bufferDone_ || !interrupted_) failure_ = "CreateEventW: " + systemWords(GetLastError());
}

// Eight-bit samples go out as sixteen: where a stream runs dry between two clips, wine's sound
// stack fills the gap with zero bytes, which as unsigned 8-bit samples are a loud click.
bool Win32AudioDevice::play(const PcmClip& clip) {
  PcmFormat format = clip.format;
  std::span<const std::uint8_t> bytes = clip.samples;
  if (format.bitsPerSample == 8) {
    wide_.assign(clip.samples.begin(), clip.samples.end());
    for (std::int16_t& sample : wide_) sample = static_cast<std::int16_t>((sample - 128) * 256);
    format.bitsPerSample = 16;
    format.blockAlign = static_cast<std::uint16_t>(format.blockAlign * 2);
    bytes = {reinterpret_cast<const std::uint8_t*>(wide_.data()), wide_.size() * sizeof wide_[0]};
  }
  if (!bufferDone_ || !interrupted_ || !openFor(format)) return false;
  WAVEHDR header{};
  // waveOut only reads the buffer.
  header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(bytes.data()));
  header.dwBufferLength = static_cast<DWORD>(bytes.size());
  if (const MMRESULT error = waveOutPrepareHeader(device_.get(), &header, sizeof header)) {
    closeDevice();
    return fail("waveOutPrepareHeader", error);
  }
  ResetEvent(bufferDone_.get());
  if (const MMRESULT error = waveOutWrite(device_.get(), &header, sizeof header)) {
    waveOutUnprepareHeader(device_.get(), &header, sizeof header);
    closeDevice();
    return fail("waveOutWrite", error);
  }
  // Returns when the last sample has been played, or, given up on, drops the rest of the word
  // instead of playing it late over the next announcement.
  const HANDLE waits[] = {bufferDone_.get(), interrupted_.get()};
  bool interrupted = false;
  while (!(header.dwFlags & WHDR_DONE) && !interrupted) {
    interrupted = WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0;
  }
  if (interrupted) waveOutReset(device_.get());
  waveOutUnprepareHeader(device_.get(), &header, sizeof header);
  return !interrupted;
}

bool Win32AudioDevice::openFor(const PcmFormat& format) {
  if (device_ && format.channels == openFormat_.channels &&
      format.sampleRate == openFormat_.sampleRate &&
      format.bitsPerSample == openFormat_.bitsPerSample) {
    return true;
  }
  closeDevice();
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = format.channels;
  wave.nSamplesPerSec = format.sampleRate;
  wave.wBitsPerSample = format.bitsPerSample;
  wave.nBlockAlign = format.blockAlign;
  wave.nAvgBytesPerSec = format.sampleRate * format.blockAlign;
  HWAVEOUT opened = nullptr;
  if (const MMRESULT error =
          waveOutOpen(&opened, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(bufferDone_.get()),
                      0, CALLBACK_EVENT)) {
    return fail("waveOutOpen", error);
  }
  device_.reset(opened);
  openFormat_ = format;
  return true;
}

bool Win32AudioDevice::fail(const char* call, MMRESULT error) {
  wchar_t text[MAXERRORLENGTH] = {};
  waveOutGetErrorTextW(error, text, MAXERRORLENGTH);
  failure_ = std::string(call) + ": " + narrow(text);
  return false;
}
