#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/app/local_time.h"
#include "core/app/vocabulary.h"
#include "core/speech/clip_store.h"
#include "core/speech/speech_requests.h"
#include "core/speech/wav_image.h"
#include "platform/sim/simulated_program.h"
#include "support/spoken.h"
#include "support/wav_images.h"

namespace {

constexpr std::int64_t second = 1000;

// Displays that stand still while speaking: no ticks run and no change events fire.
void showDisplays(frmUhr& form, const std::string& hms) {
  for (Label* label : {&form.Label4, &form.Label5, &form.Label6}) label->onChange = nullptr;
  form.Label4.setCaption(hms.substr(0, 2));
  form.Label5.setCaption(hms.substr(3, 2));
  form.Label6.setCaption(hms.substr(6, 2));
}

std::string heard(const SimPlatform& sim, size_t from = 0) {
  return spoken::words(sim.clipIds(from));
}

}  // namespace

// The announcements of "Sprich" and of SpeakTime alone, for displays that stand still.
TEST(Speech, SpeaksTheDisplayedTimeInGerman) {
  struct Example {
    const char* displays;
    const char* speakTime;
    const char* sprich;
  };
  const std::vector<Example> examples = {
      {"00:00:00", "null Uhr", "Es ist null Uhr"},
      {"01:01:01", "ein Uhr eins und eine Sekunde", "Es ist ein Uhr eins und eine Sekunde"},
      {"07:10:11", "sieben Uhr zehn und elf Sekunden", "Es ist sieben Uhr zehn und elf Sekunden"},
      {"12:45:20", "zwölf Uhr fünfundvierzig und zwanzig Sekunden",
       "Es ist zwölf Uhr fünfundvierzig und zwanzig Sekunden"},
      {"13:00:05", "dreizehn Uhr und fünf Sekunden", "Es ist dreizehn Uhr"},
      {"21:59:59", "einundzwanzig Uhr neunundfünfzig und neunundfünfzig Sekunden",
       "Es ist einundzwanzig Uhr neunundfünfzig und neunundfünfzig Sekunden"},
      {"23:30:01", "dreiundzwanzig Uhr dreißig und eine Sekunde",
       "Es ist dreiundzwanzig Uhr dreißig und eine Sekunde"},
      {"xx:yy:05", "und fünf Sekunden", "Es ist und fünf Sekunden"},
  };
  for (const Example& example : examples) {
    SimulatedProgram program;
    const std::string displays = example.displays;
    showDisplays(program.form, displays);
    program.form.SpeakTime();
    EXPECT_EQ(heard(program.sim), example.speakTime) << displays;
    const size_t before = program.sim.played.size();
    program.form.Command1.press();
    EXPECT_EQ(heard(program.sim, before), example.sprich) << displays;
    EXPECT_EQ(program.form.sayHourOnly, 0);
    EXPECT_TRUE(program.form.Timer1.enabled());
  }
}

// Ticks run between the clips, so each display is read when its part comes; while the seconds
// are spoken they stand still. A click during a clip nests a whole announcement after it.
TEST(Speech, DisplaysMoveBetweenClipsAndClicksNestWholeAnnouncements) {
  SimulatedProgram program;
  program.startAt(13, 21, 4);
  const std::int64_t click = program.sim.clock.ms() + 500;
  program.sim.at(click, [&] { program.form.Command1.press(); });
  program.sim.runFor(10 * second);
  const auto& link = program.sim.played[5];
  const int secondsAtLink = static_cast<int>(link.start / second % 60);
  EXPECT_GE(secondsAtLink, 7);
  EXPECT_EQ(heard(program.sim), "Es ist " + spoken::time(13, 21, secondsAtLink));
  EXPECT_GE(program.sim.timeOf("Label6.caption=" + secondText({.second = secondsAtLink + 1})),
            program.sim.played.back().end);

  SimulatedProgram nesting;
  nesting.startAt(10, 14, 20);
  const std::int64_t first = nesting.sim.clock.ms() + 300;
  nesting.sim.at(first, [&] { nesting.form.Command1.press(); });
  nesting.sim.at(first + 200, [&] { nesting.form.Command1.press(); });
  nesting.sim.runFor(20 * second);
  const std::string all = heard(nesting.sim);
  EXPECT_TRUE(all.starts_with("Es ist Es ist zehn Uhr vierzehn und")) << all;
  EXPECT_TRUE(all.ends_with("Sekunden")) << all;
  for (size_t i = 1; i < nesting.sim.played.size(); ++i) {
    EXPECT_GE(nesting.sim.played[i].start, nesting.sim.played[i - 1].end) << "clips overlap";
  }
}

// Requests from outside wait until the running announcement has ended and then follow one
// another, each whole; beyond three waiting the clock is busy, and takes requests again later.
TEST(Speech, RequestsFromOutsideAreWholeAnnouncementsInTurn) {
  SimulatedProgram program;
  SpeechRequests requests(program.form, [&](auto call) { program.sim.whenQuiet(call); });
  program.startAt(10, 14, 59);
  std::vector<SpeechRequests::Reply> replies;
  program.sim.at(program.sim.clock.ms() + 2 * second, [&] {  // during the gong at 10:15
    for (int i = 0; i < 4; ++i) replies.push_back(requests.speak());
  });
  program.sim.runFor(30 * second);
  using enum SpeechRequests::Reply;
  EXPECT_EQ(replies, (std::vector{taken, taken, taken, busy}));
  // The gong's announcement, then three of "Sprich", none cut into another.
  std::vector<std::string> announcements = {""};
  for (const std::int16_t id : program.sim.clipIds()) {
    if (id == clip::opening) announcements.emplace_back();
    announcements.back() += spoken::words({id}) + " ";
  }
  ASSERT_EQ(announcements.size(), 4u) << heard(program.sim);
  EXPECT_EQ(heard(program.sim).find("[Gong]", 1), std::string::npos) << "the schedule's only";
  for (const std::string& announcement : announcements) {
    EXPECT_TRUE(announcement.find("zehn Uhr fünfzehn und ") != std::string::npos &&
                announcement.ends_with(" Sekunden "))
        << announcement;
  }

  const size_t before = program.sim.played.size();
  EXPECT_EQ(requests.speak(), taken);
  program.sim.runFor(10 * second);
  EXPECT_TRUE(heard(program.sim, before).starts_with("Es ist zehn Uhr fünfzehn"));
}

// At the one-minute interval, the minute's announcement that falls due while a request from
// outside is spoken follows it, whole, with the time of its start; at the full hour, the hour
// alone. A click on "Sprich" still has the announcement nested inside it.
TEST(Speech, AnAnnouncementDueDuringARequestFollowsItWhole) {
  // What is heard from 19:mm:50 on, "Sprich" asked for or clicked at :59.
  const auto heardAfter = [](int minute, bool request, std::function<void(frmUhr&)> meanwhile,
                             std::int64_t seconds = 30) {
    SimulatedProgram program;
    SpeechRequests requests(program.form, [&](auto call) { program.sim.whenQuiet(call); });
    program.startAt(19, minute, 50);
    program.form.Option1[0].select();
    const std::int64_t at = program.sim.clock.ms() + 9 * second;
    program.sim.at(at, [&] {
      if (request) {
        requests.speak();
      } else {
        program.form.Command1.press();
      }
    });
    if (meanwhile) program.sim.at(at + 2 * second, [&] { meanwhile(program.form); });
    program.sim.runFor(seconds * second);
    return heard(program.sim);
  };
  EXPECT_EQ(heardAfter(59, true, {}), "Es ist neunzehn Uhr [Gong] zwanzig Uhr");
  EXPECT_EQ(heardAfter(31, false, {}),
            "Es ist neunzehn [Gong] neunzehn Uhr zweiunddreißig und sechs Sekunden "
            "Uhr zweiunddreißig und neun Sekunden");
  // Alarm mode chosen meanwhile silences what fell due, as it silences the schedule.
  EXPECT_EQ(heardAfter(31, true, [](frmUhr& form) { form.Option2.select(); }),
            "Es ist neunzehn Uhr zweiunddreißig und eine Sekunde");
  // Afterwards the schedule speaks in its minute again.
  EXPECT_EQ(heardAfter(31, true, {}, 75),
            "Es ist neunzehn Uhr zweiunddreißig und eine Sekunde "
            "[Gong] neunzehn Uhr zweiunddreißig und neun Sekunden "
            "[Gong] neunzehn Uhr dreiunddreißig und fünf Sekunden");
}

// Each clip shows the newest hour and minute first and plays the stored image.
TEST(Speech, PlayClipRepaintsTheDisplaysFirst) {
  SimulatedProgram program;
  program.startAt(10, 14, 20);
  program.form.PlayClip(clip::hourWord);
  std::vector<std::string> refreshed;
  for (const std::string& entry : program.sim.trace) {
    if (entry.ends_with(".refresh")) refreshed.push_back(entry);
  }
  EXPECT_EQ(refreshed, (std::vector<std::string>{"Label4.refresh", "Label5.refresh"}));
  EXPECT_EQ(program.form.clipBuffer.data(), findClip(clip::hourWord)->image.data());
}

// Images as WAV writers make them are read; malformed ones yield nothing, reading no byte
// beyond them (AddressSanitizer watches).
TEST(Speech, WavImagesAreReadAsWritersMakeThemAndMalformedOnesRejected) {
  const Image odd = data(7, 7);
  for (const Image& image :
       {riff({format(), chunk("fact", 4, {7, 0, 0, 0}), odd}),
        riff({format(), chunk("note", 3, {'a', 'b', 'c', 0}), odd}), riff({format(), odd, {0}}),
        riff({format(), odd}, 0, {0}), riff({format(), odd}), riff({format(), odd}, 0, {0, 1, 2}),
        riff({format(), odd}, 1), riff({format(1, 8, 1, 4000), odd}),
        riff({format(1, 8, 1, 192000), odd})}) {
    const auto clip = parseWav(image);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->samples.size(), 7u);
  }
  EXPECT_TRUE(parseWav(riff({format(), data(0, 0)}))) << "an empty data chunk, last";
  for (const auto& [image, read] : {std::pair{riff({format(1, 16, 2), data(8, 8)}), 216},
                                    {riff({extensibleFormat(1, 24, 1, 48000), data(9, 9)}), 124},
                                    {riff({format(3, 32, 2), data(8, 8)}), 232},
                                    {riff({extensibleFormat(3, 32, 1, 8000), data(8, 8)}), 132}}) {
    const auto clip = parseWav(image);
    ASSERT_TRUE(clip) << read;
    EXPECT_EQ(clip->format.channels * 100 + clip->format.bitsPerSample, read);
  }
  const Image good = riff({format(), data(100, 100)});
  for (size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(parseWav(Image(good.begin(), good.begin() + static_cast<long>(size)))) << size;
  }
  for (const Image& bad :
       {riff({format(), data(10, 11)}), riff({format(), data(10, 0xFFFFFFFF)}),
        riff({format(2), data(10, 10)}), riff({format(1, 12), data(10, 10)}),
        riff({format(1, 8, 3), data(9, 9)}), riff({format(1, 8, 1, 3999), data(10, 10)}),
        riff({format(1, 8, 1, 192001), data(10, 10)}), riff({data(10, 10), format()}),
        riff({format()}), riff({format(), data(10, 10)}, 1), riff({format(1, 16), data(9, 9)}),
        riff({format(6, 32), data(8, 8)}), riff({extensibleFormat(2, 16, 1, 8000), data(8, 8)}),
        riff({extensibleFormat(1, 16, 1, 8000, 0x72), data(8, 8)}),
        riff({extensibleFormat(3, 32, 1, 8000, 0x72), data(8, 8)})}) {
    EXPECT_FALSE(parseWav(bad));
  }
  EXPECT_EQ(findClip(21), nullptr);
}
