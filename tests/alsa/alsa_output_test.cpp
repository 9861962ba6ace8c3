#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "core/app/vocabulary.h"
#include "core/speech/clip_store.h"
#include "platform/alsa/alsa_audio_device.h"
#include "platform/common/deadline_audio_output.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string home;

// A device that writes what it is given, as it is and at once, to the file home/NAME.raw; the
// file starts again each time the device is opened. Where that file is a FIFO nobody reads, the
// device's first configuration blocks for ever, as a frozen sound server blocks ALSA's calls.
void defineFileDevice(const std::string& name, const std::string& file,
                      const std::string& slave = "null") {
  std::ofstream(home + "/.asoundrc", std::ios::app)
      << "pcm." << name << " { type file slave.pcm \"" << slave << "\" file \"" << file
      << "\" format \"raw\" }\n";
}
void defineFileDevice(const std::string& name) {
  defineFileDevice(name, home + "/" + name + ".raw");
}

std::string recorded(const std::string& name) {
  std::ifstream file(home + "/" + name + ".raw", std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// Samples counting up, as bytes.
std::vector<std::uint8_t> counting(std::size_t bytes, std::uint8_t first) {
  std::vector<std::uint8_t> samples(bytes);
  for (std::size_t i = 0; i < bytes; ++i) samples[i] = static_cast<std::uint8_t>(first + i);
  return samples;
}

std::string asText(const std::vector<std::uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
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

  // Once the device lets go, the worker given up on closes it: the file ends.
  std::promise<void> ended;
  std::future<void> fileEnded = ended.get_future();
  std::thread([fifo = home + "/stuck.raw", ended = std::move(ended)]() mutable {
    const int fd = open(fifo.c_str(), O_RDONLY);
    char buffer[4096];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
    close(fd);
    ended.set_value();
  }).detach();
  EXPECT_EQ(fileEnded.wait_for(20s), std::future_status::ready);
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

// The samples must outlive the clip.
PcmClip clipOf(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
               const std::vector<std::uint8_t>& samples) {
  const auto align = static_cast<std::uint16_t>(std::max(channels * bits / 8, 1));
  return {{.channels = channels, .sampleRate = rate, .bitsPerSample = bits, .blockAlign = align},
          samples};
}

// Every sample of each clip reaches the device, in order and in the clip's own format; clips of one
// format keep it open (what it wrote grows), one that differs in any part of its format opens it
// anew (it starts again). A device interrupted plays nothing more. One that was missing from
// ALSA's configuration is found once it is there: after a failed open the configuration is read
// anew.
TEST(AlsaAudioDevice, PlaysEachClipWholeInItsOwnFormat) {
  const std::vector<std::uint8_t> low = counting(1103, 7);
  const std::vector<std::uint8_t> high = counting(8820, 200);
  const PcmClip mono = clipOf(1, 11025, 8, low);
  AlsaAudioDevice device("recorded");
  EXPECT_TRUE(device.play(mono));
  EXPECT_TRUE(device.play(mono));
  EXPECT_EQ(recorded("recorded"), asText(low) + asText(low));
  for (const PcmClip& other : {clipOf(2, 11025, 8, high), clipOf(2, 22050, 8, high),
                               clipOf(2, 22050, 16, high), clipOf(2, 11025, 16, high)}) {
    EXPECT_TRUE(device.play(other));
    EXPECT_EQ(recorded("recorded"), asText(high));
  }
  EXPECT_TRUE(device.isOpen());
  device.closeDevice();
  EXPECT_FALSE(device.isOpen());
  device.interrupt();
  EXPECT_FALSE(device.play(mono));
  EXPECT_EQ(recorded("recorded"), "");

  AlsaAudioDevice later("later");
  EXPECT_FALSE(later.play(mono));
  EXPECT_EQ(later.failure(), "snd_pcm_open: No such file or directory");
  defineFileDevice("later");
  EXPECT_TRUE(later.play(mono));
  EXPECT_EQ(recorded("later"), asText(low));
}

// A device that fails while the clip is written, or that cannot take the clip's format, costs that
// clip and is closed, so the next clip opens it anew.
TEST(AlsaAudioDevice, AFailingDeviceIsClosedAfterTheClip) {
  AlsaAudioDevice full("full");
  const std::vector<std::uint8_t> samples = counting(110250, 0);
  EXPECT_FALSE(full.play(clipOf(1, 11025, 8, samples)));
  EXPECT_EQ(full.failure(), "snd_pcm_writei: Input/output error");
  EXPECT_FALSE(full.isOpen());
  AlsaAudioDevice rejecting("recorded");
  EXPECT_FALSE(rejecting.play(clipOf(0, 11025, 8, samples)));
  EXPECT_EQ(rejecting.failure(), "snd_pcm_set_params: Invalid argument");
  EXPECT_FALSE(rejecting.isOpen());
}

// A sound server of the test's own with one null sink: a device that takes samples in real time,
// as every real one does, which ALSA's null and file devices do not. Its devices are defined with
// the others, before ALSA first reads its configuration.
class RealTimeServer {
 public:
  static std::string folder() { return home + "/pulse"; }
  static std::string socket() { return folder() + "/native"; }
  static void defineDevices() {
    mkdir(folder().c_str(), 0700);
    std::ofstream(home + "/.asoundrc", std::ios::app)
        << "pcm.realtime { type pulse server \"unix:" << socket() << "\" handle_underrun true }\n";
    mkfifo((home + "/tapped.raw").c_str(), 0600);
    defineFileDevice("tapped", home + "/tapped.raw", "realtime");
  }

  RealTimeServer() {
    const std::string script = folder() + "/null.pa";
    std::ofstream(script) << "load-module module-native-protocol-unix auth-anonymous=1 socket="
                          << socket() << "\n"
                          << "load-module module-null-sink sink_name=null rate=11025 channels=1\n";
    server_ = fork();
    if (server_ == 0) {
      setenv("PULSE_RUNTIME_PATH", folder().c_str(), 1);
      execlp("pulseaudio", "pulseaudio", "-n", "-F", script.c_str(), "--daemonize=no",
             "--exit-idle-time=-1", "--use-pid-file=no", "--log-target=stderr", "--log-level=0",
             nullptr);
      _exit(127);
    }
    struct stat file {};
    for (int i = 0; i < 200 && stat(socket().c_str(), &file) != 0; ++i) {
      std::this_thread::sleep_for(50ms);
    }
  }
  ~RealTimeServer() {
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }

 private:
  pid_t server_ = -1;
};

// A word longer than the device's buffer is written whole to a device that takes it in real time:
// the writes wait for room rather than fail.
TEST(AlsaAudioDevice, PlaysAWordWholeOnADeviceThatTakesSamplesInRealTime) {
  const RealTimeServer server;
  AlsaAudioDevice device("realtime");
  const std::vector<std::uint8_t> second(11025, 128);
  EXPECT_TRUE(device.play(clipOf(1, 11025, 8, second))) << device.failure();

  // The writer held up in the middle of the word (here by a tap that stops reading a while), the
  // device runs dry; the word goes on from where it was.
  std::thread tap([fifo = home + "/tapped.raw"] {
    const int fd = open(fifo.c_str(), O_RDONLY);
    fcntl(fd, F_SETPIPE_SZ, 4096);
    char buffer[4096];
    for (ssize_t got = 0, total = 0; (got = read(fd, buffer, sizeof buffer)) > 0;) {
      if (total < 3000 && (total += got) >= 3000) std::this_thread::sleep_for(700ms);
    }
    close(fd);
  });
  AlsaAudioDevice tapped("tapped");
  EXPECT_TRUE(tapped.play(clipOf(1, 11025, 8, second))) << tapped.failure();
  tapped.closeDevice();
  tap.join();
}

int main(int argc, char** argv) {
  // A device that never stops writing must fail the test, not fill the disk.
  const rlimit fileSize{1 << 30, 1 << 30};
  setrlimit(RLIMIT_FSIZE, &fileSize);
  const TempFolder folder("lurvendel-alsa");
  home = folder.path();
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_RUNTIME_DIR", home.c_str(), 1);  // where the sound server's clients keep their files
  mkfifo((home + "/stuck.raw").c_str(), 0600);
  defineFileDevice("stuck");
  defineFileDevice("recorded");
  defineFileDevice("full", "/dev/full");
  RealTimeServer::defineDevices();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
