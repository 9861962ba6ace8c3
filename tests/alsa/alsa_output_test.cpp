#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "core/app/vocabulary.h"
#include "core/speech/clip_store.h"
#include "platform/alsa/alsa_audio_device.h"
#include "platform/common/audio_worker.h"
#include "platform/common/deadline_audio_output.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A device whose first configuration blocks for ever: its output is a FIFO nobody reads, as a
// frozen sound server blocks ALSA's calls. Reading the FIFO lets it go.
std::string stuckFifo;

void defineStuckDevice(const std::string& home) {
  stuckFifo = home + "/fifo";
  mkfifo(stuckFifo.c_str(), 0600);
  std::ofstream(home + "/.asoundrc")
      << "pcm.stuck { type file slave.pcm \"null\" file \"" << stuckFifo << "\" format \"raw\" }\n";
  setenv("HOME", home.c_str(), 1);
}

// ALSA's device behind the shared worker with its deadline.
DeadlineAudioOutput alsaOutput(const std::string& device, AudioTiming timing = {}) {
  return DeadlineAudioOutput([device] { return std::make_unique<AlsaAudioDevice>(device); }, device,
                             timing);
}

}  // namespace

TEST(DeadlineAudioOutput, AHungDeviceCostsTheClipAndAMarginThenIsLeftBehind) {
  DeadlineAudioOutput output =
      alsaOutput("stuck", {.idleClose = 3000ms, .deadlineMargin = 500ms, .retryAfterQuiet = 0ms});
  const PcmClip word = findClip(clip::hourWord)->sound;
  for (int i = 0; i < 3; ++i) {
    const auto start = Clock::now();
    output.play(clip::hourWord, word);
    // Far beyond the deadline only if the caller waited on the hung device.
    EXPECT_LT(Clock::now() - start, 10s);
  }
  EXPECT_EQ(AudioWorker::stuckCount(), 3);

  // With that many hung workers no further thread is spent: the clip is skipped at once.
  output.play(clip::hourWord, word);
  EXPECT_EQ(AudioWorker::stuckCount(), 3);

  // Once the device lets go, the hung workers end.
  std::thread reader([] {
    const int fd = open(stuckFifo.c_str(), O_RDONLY);
    char buffer[4096];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
    close(fd);
  });
  reader.detach();
  const auto waitUntil = Clock::now() + 20s;
  while (AudioWorker::stuckCount() > 0 && Clock::now() < waitUntil) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(AudioWorker::stuckCount(), 0);
}

// A clip that stays silent says why, in one line on stderr, only when the user asked for it.
TEST(DeadlineAudioOutput, ASilentClipSaysWhyOnlyUnderDebug) {
  const PcmClip word = findClip(clip::hourWord)->sound;
  for (const bool debug : {false, true}) {
    setenv("LURVENDEL_DEBUG", debug ? "1" : "0", 1);
    DeadlineAudioOutput output = alsaOutput("nowhere");
    testing::internal::CaptureStderr();
    output.play(clip::hourWord, word);
    output.play(clip::hourWord, word);  // right after a failure: skipped
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, debug ? "lurvendel: kein Ton über nowhere: snd_pcm_open: No such file or "
                            "directory\n"
                            "lurvendel: kein Ton über nowhere: übersprungen, das Gerät scheiterte "
                            "eben\n"
                          : "");
  }
}

int main(int argc, char** argv) {
  const TempFolder home("lurvendel-alsa");
  defineStuckDevice(home.path());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
