#include "platform/common/voice_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

#include "platform/common/command_line.h"
#include "support/temp_folder.h"
#include "support/wav_images.h"

namespace fs = std::filesystem;

namespace {

void write(const fs::path& file, const Image& bytes) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::string voiceReport(const fs::path& folder, int& status) {
  std::string said;
  status = *answerAtOnce(parseCommandLine({"--stimme"}), folder,
                         [&](StandardStream stream, std::string_view text) {
                           EXPECT_EQ(stream, StandardStream::output);
                           said += text;
                         });
  return said;
}

}  // namespace

// What cannot be a recording is not read and says why; what can is taken. `--stimme` names the
// folder, each clip as built-in or own, each file not taken; it ends with 1 when there is one.
TEST(VoiceFolder, TakesEachRecordingAndTellsWhyAFileIsNot) {
  const TempFolder home("lurvendel-voice");
  const fs::path folder = fs::path(home.path()) / "stimme";
  int status = -1;
  const std::string empty = voiceReport(folder, status);
  EXPECT_EQ(status, 0) << "no folder, nothing rejected";
  EXPECT_TRUE(empty.starts_with("Eigene Aufnahmen aus " + folder.string() + "\n")) << empty;

  fs::create_directories(folder / "200.wav");
  ASSERT_EQ(mkfifo((folder / "1.wav").c_str(), 0600), 0);
  fs::create_symlink("2.wav", folder / "2.wav");
  write(folder / "3.wav", {});
  write(folder / "4.wav", {0});
  fs::resize_file(folder / "4.wav", 4 * 1024 * 1024 + 1);
  const Image recording = wav(format(1, 16, 1, 22050), Image(4410, 0));
  for (const char* name : {"300.wav", "07.WAV", "300a.wav", "65836.wav"}) {
    write(folder / name, recording);
  }
  write(folder / "liesmich.txt", {'x'});
  const std::string said = voiceReport(folder, status);
  EXPECT_EQ(status, 1);
  for (const char* line :
       {"  300.wav  Es ist                  eigene Aufnahme\n",
        "  200.wav  Uhr                     eingebaut\n",
        "    1.wav  eins                    eingebaut\n",
        "   12.wav  zwölf                   eingebaut\n",
        "    7.wav  sieben                  eigene Aufnahme\n",
        "   20.wav  zwanzig                 eingebaut\n",
        "  101.wav  einund                  eingebaut\n",
        "  105.wav  fünfund                 eingebaut\n",
        "300a.wav nicht genommen: keine der 42 Clipnummern\n",
        "65836.wav nicht genommen: keine der 42 Clipnummern\n",
        "1.wav nicht genommen: keine gewöhnliche Datei\n",
        "2.wav nicht genommen: Verweisschleife\n", "3.wav nicht genommen: leer\n",
        "4.wav nicht genommen: größer als 4 MiB\n",
        "200.wav nicht genommen: keine gewöhnliche Datei\n"}) {
    EXPECT_NE(said.find(line), std::string::npos) << line << said;
  }
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1 + 42 + 7) << said;

  for (const bool debug : {false, true}) {
    setenv("LURVENDEL_DEBUG", debug ? "1" : "0", 1);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(voiceOf(folder).isOwn(300));
    const std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), debug ? 7 : 0) << lines;
    if (debug) {
      EXPECT_NE(lines.find("lurvendel: eigene Aufnahme 4.wav nicht genommen: größer als 4 MiB\n"),
                std::string::npos);
    }
  }
  unsetenv("LURVENDEL_DEBUG");
}
