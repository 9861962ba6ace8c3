#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/speech/clip_store.h"

// A file of the user's voice folder as it was read: its name, the clip id that name gives (0 for
// none), its bytes, and why it could not be read (empty when it could).
struct OwnRecording {
  std::string file;
  std::int16_t id = 0;
  std::vector<std::uint8_t> image;
  std::string unreadable;
};

// The recordings the clock speaks: the built-in ones, each replaced by the user's own where that
// can be taken. Every clip is in one format, the best among them (the highest rate and sample
// size up to 16 bits, mono), so that chained words go to one open device; the built-in clips alone
// stay exactly as they are. The samples live as long as the voice; moving it keeps them in place.
class Voice {
 public:
  Voice() : Voice(std::vector<OwnRecording>{}) {}
  explicit Voice(std::vector<OwnRecording> own);
  Voice(Voice&&) = default;
  Voice& operator=(Voice&&) = default;

  const ReadClip* find(std::int16_t id) const;
  bool isOwn(std::int16_t id) const { return own_.contains(id); }
  // Why each file not taken was not, by its name.
  const std::map<std::string, std::string>& rejected() const { return rejected_; }
  const PcmFormat& format() const { return format_; }

 private:
  std::map<std::int16_t, std::vector<std::uint8_t>> own_;  // the images taken
  std::map<std::int16_t, std::vector<std::uint8_t>> converted_;
  std::map<std::int16_t, ReadClip> clips_;
  std::map<std::string, std::string> rejected_;
  PcmFormat format_;
};

// The voice the clock speaks with: the built-in one until the start puts the user's in its place,
// before anything is spoken.
const Voice& voiceInUse();
void speakWith(Voice voice);
