#pragma once

#include <string>

#include "core/ports/audio_output.h"

// One sound device as a worker thread drives it; everything but interrupt() runs on that thread.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Plays the clip to its last sample, opening the device for its format first where needed;
  // once interrupted, it stops at once and drops the rest. False when it failed.
  virtual bool play(const PcmClip& clip) = 0;
  virtual bool isOpen() const = 0;
  virtual void closeDevice() = 0;
  // From any thread: the device was given up on.
  virtual void interrupt() = 0;
  // Why the last play failed: the call and the sound system's words.
  virtual std::string failure() const = 0;
};
