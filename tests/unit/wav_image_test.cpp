#include "speech/wav_image.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "app/vocabulary.h"
#include "speech/clip_store.h"

namespace {

using Image = std::vector<std::uint8_t>;

void put(Image& image, const std::string& tag) {
  image.insert(image.end(), tag.begin(), tag.end());
}

void put32(Image& image, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putFormat(Image& image, std::uint16_t tag = 1, std::uint16_t bits = 8) {
  put(image, "fmt ");
  put32(image, 16);
  const std::uint16_t align = bits / 8;
  const std::uint16_t fields[] = {tag, 1};
  for (std::uint16_t field : fields) {
    image.push_back(static_cast<std::uint8_t>(field));
    image.push_back(static_cast<std::uint8_t>(field >> 8));
  }
  put32(image, 11025);
  put32(image, 11025u * align);
  image.insert(image.end(),
               {static_cast<std::uint8_t>(align), 0, static_cast<std::uint8_t>(bits), 0});
}

// A RIFF image around the given chunks; riffExtra lets the length field lie.
Image riff(const Image& chunks, int riffExtra = 0) {
  Image image;
  put(image, "RIFF");
  put32(image, static_cast<std::uint32_t>(4 + static_cast<int>(chunks.size()) + riffExtra));
  put(image, "WAVE");
  image.insert(image.end(), chunks.begin(), chunks.end());
  return image;
}

Image dataChunk(std::uint32_t length, std::uint32_t declared) {
  Image chunk;
  put(chunk, "data");
  put32(chunk, declared);
  chunk.insert(chunk.end(), length, 0x80);
  return chunk;
}

Image concat(std::initializer_list<Image> parts) {
  Image all;
  for (const Image& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Image format(std::uint16_t tag = 1, std::uint16_t bits = 8) {
  Image chunk;
  putFormat(chunk, tag, bits);
  return chunk;
}

}  // namespace

TEST(ClipStore, HoldsExactlyTheFortyTwoClipsAllEightBitMono11025) {
  std::set<int> ids;
  int odd = 0;
  for (const StoredClip& clip : ATM_SOUND()) {
    ids.insert(clip.id);
    const auto parsed = parseWav(clip.image);
    ASSERT_TRUE(parsed) << "clip " << clip.id;
    EXPECT_EQ(parsed->format.channels, 1) << clip.id;
    EXPECT_EQ(parsed->format.bitsPerSample, 8) << clip.id;
    EXPECT_EQ(parsed->format.sampleRate, 11025u) << clip.id;
    EXPECT_GT(parsed->seconds(), 0.3) << clip.id;
    EXPECT_LT(parsed->seconds(), 3.7) << clip.id;
    odd += parsed->samples.size() % 2;
  }
  const std::set<int> expected = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,
                                  12,  13,  14,  15,  16,  17,  18,  19,  20,  30,  40,
                                  50,  97,  98,  99,  101, 102, 103, 104, 105, 106, 107,
                                  108, 109, 200, 300, 400, 500, 600, 610, 700};
  EXPECT_EQ(ids, expected);
  EXPECT_GT(odd, 0) << "the store should exercise odd data lengths";
  EXPECT_TRUE(findClip(clip::announcementSignal)->image.size() > 30000);
  EXPECT_EQ(findClip(21), nullptr);
}

TEST(WavImage, SkipsOtherChunksAndToleratesPadsAndTrailingBytes) {
  Image fact;
  put(fact, "fact");
  put32(fact, 4);
  put32(fact, 7);
  const Image oddData = dataChunk(7, 7);

  const std::vector<Image> accepted = {
      riff(concat({format(), fact, oddData})),                      // "fact" before "data"
      riff(concat({format(), oddData, Image{0}})),                  // pad byte counted
      concat({riff(concat({format(), oddData})), Image{0}}),        // pad byte not counted
      riff(concat({format(), oddData})),                            // no pad byte at all
      riff(concat({format(), oddData}), 1),                         // pad counted, not stored
      concat({riff(concat({format(), oddData})), Image{0, 1, 2}}),  // bytes after the data
  };
  for (const Image& image : accepted) {
    const auto clip = parseWav(image);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->samples.size(), 7u);
    EXPECT_TRUE(std::all_of(clip->samples.begin(), clip->samples.end(),
                            [](std::uint8_t sample) { return sample == 0x80; }));
  }
}

TEST(WavImage, RejectsMalformedImagesWithoutReadingPastThem) {
  const Image good = riff(concat({format(), dataChunk(100, 100)}));
  ASSERT_TRUE(parseWav(good));
  // Every truncation lies about a length; ASan watches for reads past the end.
  for (size_t size = 0; size < good.size(); ++size) {
    const Image cut(good.begin(), good.begin() + static_cast<long>(size));
    EXPECT_FALSE(parseWav(cut)) << "truncated to " << size;
  }
  const std::vector<Image> rejected = {
      riff(concat({format(), dataChunk(10, 11)})),          // data longer than the image
      riff(concat({format(), dataChunk(10, 0xFFFFFFFF)})),  // length that would wrap
      riff(concat({format(2), dataChunk(10, 10)})),         // not PCM
      riff(concat({format(1, 12), dataChunk(10, 10)})),     // odd sample width
      riff(concat({dataChunk(10, 10), format()})),          // data before its format
      riff(concat({format()})),                             // no data at all
      riff(concat({format(), dataChunk(10, 10)}), 1),       // RIFF length beyond the image
      riff(concat({format(1, 16), dataChunk(9, 9)})),       // half a 16-bit sample
  };
  for (size_t i = 0; i < rejected.size(); ++i) EXPECT_FALSE(parseWav(rejected[i])) << i;
}
