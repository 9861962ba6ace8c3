#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// WAV images as writers make them, and as they must not.
using Image = std::vector<std::uint8_t>;

// A RIFF image of 8-bit mono samples around the chunks; riffExtra makes its length field lie.
inline Image chunk(const std::string& tag, std::uint32_t declared, Image body = {}) {
  Image out(tag.begin(), tag.end());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(declared >> (8 * i)));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}
inline Image format(std::uint8_t tag = 1, std::uint8_t bits = 8, std::uint8_t channels = 1,
                    std::uint32_t rate = 11025) {
  Image body = {tag, 0, channels, 0};
  for (int i = 0; i < 4; ++i) body.push_back(static_cast<std::uint8_t>(rate >> (8 * i)));
  const auto align = static_cast<std::uint8_t>(channels * bits / 8);
  body.insert(body.end(), {0x11, 0x2B, 0, 0, align, 0, bits, 0});
  return chunk("fmt ", 16, body);
}
inline Image data(std::uint32_t length, std::uint32_t declared) {
  return chunk("data", declared, Image(length, 0x80));
}
inline Image riff(std::initializer_list<Image> chunks, int riffExtra = 0, Image after = {}) {
  Image body = {'W', 'A', 'V', 'E'};
  for (const Image& c : chunks) body.insert(body.end(), c.begin(), c.end());
  Image image =
      chunk("RIFF", static_cast<std::uint32_t>(static_cast<int>(body.size()) + riffExtra), body);
  image.insert(image.end(), after.begin(), after.end());
  return image;
}

// The extensible layout that recorders write for more than 16 bits, with the sub-format's GUID
// for integer PCM (1) or floats (3); `guidEnd` replaces its last byte.
inline Image extensibleFormat(std::uint8_t subTag, std::uint8_t bits, std::uint8_t channels,
                              std::uint32_t rate, std::uint8_t guidEnd = 0x71) {
  Image body = format(1, bits, channels, rate);
  body.erase(body.begin(), body.begin() + 8);
  body[0] = 0xFE;
  body[1] = 0xFF;
  body.insert(body.end(), {22, 0, bits, 0, 0,    0, 0, 0,    subTag, 0,    0,    0,
                           0,  0, 0x10, 0, 0x80, 0, 0, 0xaa, 0,      0x38, 0x9b, guidEnd});
  return chunk("fmt ", static_cast<std::uint32_t>(body.size()), body);
}

// A whole image: the format chunk given and these samples.
inline Image wav(const Image& formatChunk, const Image& samples) {
  return riff({formatChunk, chunk("data", static_cast<std::uint32_t>(samples.size()), samples)});
}
