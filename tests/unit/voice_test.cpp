#include "core/voice/voice.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "core/app/vocabulary.h"
#include "platform/sim/simulated_program.h"
#include "support/alarm_actions.h"
#include "support/spoken.h"
#include "support/wav_images.h"

namespace {

constexpr std::int64_t second = 1000;

// `frames` frames of these values, one per channel, as little-endian samples of `bytes` bytes.
Image samples(std::size_t frames, std::vector<std::int32_t> channels, int bytes) {
  Image out;
  for (std::size_t i = 0; i < frames; ++i) {
    for (const std::int32_t value : channels) {
      for (int b = 0; b < bytes; ++b) out.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
    }
  }
  return out;
}

Image floats(std::size_t frames, float value) {
  Image out(frames * 4);
  for (std::size_t i = 0; i < frames; ++i) std::memcpy(&out[i * 4], &value, 4);
  return out;
}

OwnRecording recording(std::int16_t id, Image image) {
  return {
      .file = std::to_string(id) + ".wav", .id = id, .image = std::move(image), .unreadable = {}};
}

// The voice the clock speaks with for one test; the built-in one again after it.
struct SpeakingWith {
  explicit SpeakingWith(std::vector<OwnRecording> own) { speakWith(Voice(std::move(own))); }
  ~SpeakingWith() { speakWith(Voice()); }
};

std::int64_t builtInMs(std::int16_t id) {
  return std::llround(builtInClip(id)->sound.seconds() * 1000);
}

// Each clip heard with how long it took: own recordings take their own time.
std::vector<std::string> heardWithLength(const SimPlatform& sim) {
  std::vector<std::string> heard;
  for (const auto& clip : sim.played) {
    const std::int64_t length = clip.end - clip.start;
    heard.push_back(spoken::words({clip.id}) +
                    (length == builtInMs(clip.id) ? "" : " " + std::to_string(length) + " ms"));
  }
  return heard;
}

}  // namespace

// Recordings of several formats speak in place of their clips, for "Sprich", an announcement and
// the alarm, the built-in rest around them; every clip goes out in the best format among them.
TEST(Voice, OwnRecordingsSpeakInPlaceOfTheirClipsInOneFormat) {
  const SpeakingWith voice({
      recording(clip::opening, wav(format(1, 16, 2, 44100), samples(11025, {1000, -1000}, 2))),
      recording(15, wav(extensibleFormat(1, 24, 1, 48000), samples(4800, {1 << 20}, 3))),
      recording(clip::announcementSignal, wav(format(3, 32, 1, 16000), floats(16000, 0.5f))),
      recording(clip::alarmSignal, wav(format(1, 8, 1, 22050), samples(11025, {200}, 1))),
  });
  EXPECT_EQ(voiceInUse().format().sampleRate, 48000u);
  EXPECT_EQ(voiceInUse().format().bitsPerSample, 16);

  SimulatedProgram program;
  program.startAt(13, 14, 58);
  program.sim.at(program.sim.clock.ms() + 12 * second, [&] { program.form.Command1.press(); });
  program.sim.at(program.sim.clock.ms() + 20 * second,
                 [&] { alarm_actions::arm(program.form, "13:15:30"); });
  program.sim.runFor(60 * second);
  const std::vector<std::string> heard = heardWithLength(program.sim);
  ASSERT_GE(heard.size(), 4u);
  EXPECT_EQ(heard[0], "[Gong] 1000 ms") << "the announcement at 13:15";
  EXPECT_EQ(std::vector(heard.begin() + 1, heard.begin() + 4),
            (std::vector<std::string>{"dreizehn", "Uhr", "fünfzehn 100 ms"}));
  std::string all;
  for (const std::string& clip : heard) all += clip + "|";
  EXPECT_NE(all.find("|Es ist 250 ms|dreizehn|Uhr|fünfzehn 100 ms|"), std::string::npos) << all;
  EXPECT_NE(all.find("|[Alarm] 500 ms|Es ist 250 ms|"), std::string::npos) << all;
  for (const auto& clip : program.sim.played) {
    EXPECT_EQ(clip.format.sampleRate * 100 + clip.format.bitsPerSample * 10 + clip.format.channels,
              4800161u)
        << clip.id;
  }
}

// Built-in clips alone are played as they are stored. Converted, the words keep their length,
// their samples scaled to 16 bits, mixed to mono, the rate doubled by interpolation.
TEST(Voice, ConvertsEveryClipOnceToTheBestFormatAndTheBuiltInAloneNot) {
  const Voice builtIn;
  for (const std::int16_t id : {1, 99, 200, 300, 400, 500}) {
    EXPECT_EQ(builtIn.find(id)->sound.samples.data(), builtInClip(id)->sound.samples.data()) << id;
  }

  // At the same rate, 16 bits: stereo mixed, 8 bits scaled, 24 rounded.
  const Voice sameRate(
      {recording(clip::opening, wav(format(1, 16, 2, 11025), samples(2, {3000, 1000}, 2))),
       recording(2, wav(extensibleFormat(1, 24, 1, 11025), {0xFF, 0x34, 0x12}))});
  const auto samplesOf = [](const Voice& voice, std::int16_t id) {
    const PcmClip& sound = voice.find(id)->sound;
    return Image(sound.samples.begin(), sound.samples.end());
  };
  EXPECT_EQ(samplesOf(sameRate, clip::opening), samples(2, {2000}, 2));
  EXPECT_EQ(samplesOf(sameRate, 2), samples(1, {0x1235}, 2));
  const Image word = samplesOf(sameRate, 1);
  const PcmClip& stored = builtInClip(1)->sound;
  ASSERT_EQ(word.size(), 2 * stored.frames());
  for (std::size_t i = 0; i < stored.frames(); ++i) {
    ASSERT_EQ(static_cast<std::int16_t>(word[2 * i] | word[2 * i + 1] << 8),
              (stored.samples[i] - 128) * 256)
        << i;
  }

  // The rate doubled, 8 bits: each sample, then the value halfway to the next; the last one held.
  const Voice doubled({recording(clip::opening, wav(format(1, 8, 1, 22050), {128})),
                       recording(1, wav(format(1, 8, 1, 11025), {10, 250}))});
  EXPECT_EQ(samplesOf(doubled, 1), (Image{10, 130, 250, 250}));
}

// A recording that cannot stand for its clip leaves the built-in one and says why; the rest of the
// folder is taken all the same and the clock speaks on.
TEST(Voice, ABadRecordingLeavesItsClipBuiltInAndTheRestWorking) {
  const Image good = wav(format(1, 16, 1, 11025), samples(2205, {500}, 2));
  const Image text = {'h', 'a', 'l', 'l', 'o'};
  OwnRecording unreadable = recording(clip::link, {});
  unreadable.unreadable = "leer";
  OwnRecording unnumbered = recording(0, good);
  unnumbered.file = "hallo.wav";
  OwnRecording again = recording(clip::opening, wav(format(), {128}));
  again.file = "300.WAV";
  const SpeakingWith voice({
      recording(clip::hourWord, text),
      recording(13, wav(format(), {})),
      recording(14, wav(format(1, 8, 1, 8000), Image(80001, 128))),
      recording(20, wav(format(1, 16, 1, 48001), samples(10, {0}, 2))),
      recording(30, wav(format(1, 16, 1, 7999), samples(10, {0}, 2))),
      recording(21, good),
      unreadable,
      unnumbered,
      recording(clip::opening, good),
      again,
  });
  EXPECT_EQ(voiceInUse().rejected(),
            (std::map<std::string, std::string>{
                {"200.wav", "kein WAV mit PCM (8, 16, 24 Bit) oder Gleitkomma (32 Bit)"},
                {"13.wav", "ohne Ton"},
                {"14.wav", "länger als 10 Sekunden"},
                {"20.wav", "Abtastrate 48001 Hz, erlaubt 8000 bis 48000"},
                {"30.wav", "Abtastrate 7999 Hz, erlaubt 8000 bis 48000"},
                {"21.wav", "keine der 42 Clipnummern"},
                {"99.wav", "leer"},
                {"hallo.wav", "keine der 42 Clipnummern"},
                {"300.WAV", "schon eine Aufnahme für diese Nummer"}}));
  for (const std::int16_t id : {clip::hourWord, std::int16_t{13}, std::int16_t{14}, clip::link}) {
    EXPECT_FALSE(voiceInUse().isOwn(id)) << id;
    EXPECT_EQ(voiceInUse().find(id)->image.data(), builtInClip(id)->image.data()) << id;
  }
  EXPECT_TRUE(voiceInUse().isOwn(clip::opening));

  SimulatedProgram program;
  program.startAt(13, 14, 20);
  program.sim.at(program.sim.clock.ms() + 500, [&] { program.form.Command1.press(); });
  program.sim.runFor(10 * second);
  const std::vector<std::string> heard = heardWithLength(program.sim);
  ASSERT_GE(heard.size(), 5u);
  EXPECT_EQ(std::vector(heard.begin(), heard.begin() + 4),
            (std::vector<std::string>{"Es ist 200 ms", "dreizehn", "Uhr", "vierzehn"}));
  EXPECT_EQ(heard.back(), "Sekunden");
}
