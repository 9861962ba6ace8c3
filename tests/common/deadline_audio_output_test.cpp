#include "platform/common/deadline_audio_output.h"

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/common/audio_device.h"

namespace {

using namespace std::chrono_literals;

// What the double does with the next clip it is given.
enum class Turn { play, fail, hang, slow };

// The device's side, shared with the test: what it is told to do and what happened to it.
struct Stage {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Turn> turns;  // then it plays
  bool released = false;   // a hung play returns
  bool open = false;
  int opens = 0;
  int closes = 0;
  int interrupts = 0;
  std::vector<std::size_t> played;  // each clip's size, as it was played whole

  template <typename Condition>
  bool waitFor(Condition condition) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, 5s, condition);
  }
};

class StagedDevice : public AudioDevice {
 public:
  explicit StagedDevice(std::shared_ptr<Stage> stage) : stage_(std::move(stage)) {}

  bool play(const PcmClip& clip) override {
    std::unique_lock lock(stage_->mutex);
    const Turn turn = stage_->turns.empty() ? Turn::play : stage_->turns.front();
    if (!stage_->turns.empty()) stage_->turns.pop_front();
    if (!stage_->open) ++stage_->opens;
    stage_->open = true;
    if (turn == Turn::hang) stage_->changed.wait(lock, [this] { return stage_->released; });
    if (turn == Turn::slow) {
      lock.unlock();
      std::this_thread::sleep_for(1200ms);
      lock.lock();
    }
    const bool plays = turn == Turn::play || turn == Turn::slow;
    if (plays) stage_->played.push_back(clip.samples.size());
    stage_->changed.notify_all();
    return plays;
  }
  bool isOpen() const override {
    std::lock_guard lock(stage_->mutex);
    return stage_->open;
  }
  void closeDevice() override {
    std::lock_guard lock(stage_->mutex);
    stage_->closes += stage_->open ? 1 : 0;
    stage_->open = false;
    stage_->changed.notify_all();
  }
  void interrupt() override {
    std::lock_guard lock(stage_->mutex);
    ++stage_->interrupts;
  }
  std::string failure() const override { return "snd_pcm_writei: Broken pipe"; }

 private:
  std::shared_ptr<Stage> stage_;
};

const std::vector<std::uint8_t> samples(1103);  // a tenth of a second
const PcmClip word{{.channels = 1, .sampleRate = 11025, .bitsPerSample = 8, .blockAlign = 1},
                   samples};

struct Rig {
  explicit Rig(AudioTiming timing) {
    setenv("LURVENDEL_DEBUG", "1", 1);
    start(timing);
  }
  // A new output on the same device.
  void start(AudioTiming timing) {
    output = std::make_unique<DeadlineAudioOutput>(
        [stage = stage] { return std::make_unique<StagedDevice>(stage); }, "der Probe", timing,
        [this] {
          ++waits;
          std::this_thread::sleep_for(std::exchange(standStill, 0ms));
        },
        [this](const std::string& line) { said.push_back(line); });
  }
  void turns(std::initializer_list<Turn> next) {
    std::lock_guard lock(stage->mutex);
    stage->turns.insert(stage->turns.end(), next);
  }

  std::shared_ptr<Stage> stage = std::make_shared<Stage>();
  std::unique_ptr<DeadlineAudioOutput> output;
  std::vector<std::string> said;
  int waits = 0;
  std::chrono::milliseconds standStill{};  // the caller's next wait, as if it were stopped
};

const std::string failed = "lurvendel: kein Ton über der Probe: snd_pcm_writei: Broken pipe\n";
const std::string skipped =
    "lurvendel: kein Ton über der Probe: übersprungen, das Gerät scheiterte eben\n";
const std::string gaveUp =
    "lurvendel: kein Ton über der Probe: keine Antwort vor der Frist, aufgegeben\n";
const std::string stillHangs =
    "lurvendel: kein Ton über der Probe: übersprungen, das Gerät hängt noch\n";

}  // namespace

// Words that follow one another share one open device, the caller's work going on while each
// plays; once sound has been idle a while the device is closed, and the output's end closes it
// too.
TEST(DeadlineAudioOutput, KeepsTheDeviceOpenBetweenWordsAndClosesItWhenIdle) {
  Rig rig({.idleClose = 200ms, .deadlineMargin = 5s, .retryAfterQuiet = 0ms});
  rig.output->play(0, word);
  rig.output->play(0, word);
  EXPECT_EQ(rig.stage->played, (std::vector<std::size_t>{1103, 1103}));
  EXPECT_EQ(rig.stage->opens, 1);
  EXPECT_TRUE(rig.stage->waitFor([&] { return rig.stage->closes == 1; }));
  rig.output->play(0, word);
  EXPECT_EQ(rig.stage->opens, 2);
  rig.output.reset();
  EXPECT_TRUE(rig.stage->waitFor([&] { return rig.stage->closes == 2; }));
  EXPECT_TRUE(rig.said.empty());
}

// A device kept open that fails (its server restarted) is opened afresh and the word played from
// its start; one that fails as it opens is not tried again for that word. After a failure the
// words right after stay silent without asking the device; once a quiet time has passed since the
// failure, however many words came meanwhile, the next one tries it again.
TEST(DeadlineAudioOutput, ReopensADeviceThatFailedWhileOpenThenRestsAfterAFailure) {
  Rig rig({.idleClose = 10s, .deadlineMargin = 5s, .retryAfterQuiet = 10s});
  rig.output->play(0, word);
  rig.turns({Turn::fail});
  rig.output->play(0, word);
  EXPECT_EQ(rig.stage->played.size(), 2u);
  EXPECT_EQ(rig.stage->opens, 2);

  rig.output->play(0, word);  // the device is open: no reopening needed
  rig.output.reset();         // the worker given up on ends at once, not after its idle time
  EXPECT_TRUE(rig.stage->waitFor([&] { return !rig.stage->open; }));
  rig.turns({Turn::fail, Turn::play});
  rig.start({.idleClose = 10s, .deadlineMargin = 5s, .retryAfterQuiet = 200ms});
  rig.output->play(0, word);
  const int waited = rig.waits;
  rig.output->play(0, word);
  EXPECT_EQ(rig.waits, waited) << "after a device that failed, a word is skipped at once";
  EXPECT_EQ(rig.stage->played.size(), 3u);
  EXPECT_EQ(rig.said, (std::vector{failed, skipped}));
  for (int words = 0; words < 40 && rig.stage->played.size() == 3; ++words) {
    std::this_thread::sleep_for(50ms);  // words that come closer than the quiet time
    rig.output->play(0, word);
  }
  EXPECT_EQ(rig.stage->played.size(), 4u);
}

// A device that hangs (a frozen sound server) costs the word and its margin: the caller goes on and
// the worker is given up on, interrupted. While the device holds it, the words that follow pass in
// silence at their pace, no new device asked; once it lets go, the next word is heard.
TEST(DeadlineAudioOutput, AfterAHungDeviceLetsGoTheWordsThatWaitAreHeard) {
  Rig rig({.idleClose = 10s, .deadlineMargin = 100ms, .retryAfterQuiet = 0ms});
  rig.turns({Turn::hang});
  rig.output->play(0, word);
  EXPECT_EQ(rig.stage->interrupts, 1);
  const int waited = rig.waits;
  const auto start = std::chrono::steady_clock::now();
  rig.output->play(0, word);
  rig.output->play(0, word);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
  EXPECT_GT(rig.waits, waited) << "the caller's work goes on while a word is silent";
  EXPECT_EQ(rig.stage->opens, 1);
  EXPECT_EQ(rig.said, (std::vector{gaveUp, stillHangs, stillHangs}));

  {
    std::lock_guard lock(rig.stage->mutex);
    rig.stage->released = true;
  }
  rig.stage->changed.notify_all();
  EXPECT_TRUE(rig.stage->waitFor([&] { return !rig.stage->open; }));
  for (int words = 0; words < 3 && rig.stage->played.empty(); ++words) rig.output->play(0, word);
  EXPECT_EQ(rig.stage->played.size(), 1u);
}

// Time in which the caller did not run (the clock stopped or starved along with its sound) does
// not count against the word.
TEST(DeadlineAudioOutput, TimeTheCallerStoodStillDoesNotCountAgainstTheWord) {
  Rig rig({.idleClose = 10s, .deadlineMargin = 600ms, .retryAfterQuiet = 0ms});
  rig.turns({Turn::slow});
  rig.standStill = 1s;
  rig.output->play(0, word);
  EXPECT_EQ(rig.stage->played.size(), 1u);
  EXPECT_TRUE(rig.said.empty());
}
