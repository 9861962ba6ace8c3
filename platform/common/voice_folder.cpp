#include "platform/common/voice_folder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>

#include "core/app/vocabulary.h"
#include "platform/common/debug_wanted.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t largestFile = 4 * 1024 * 1024;

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

// The clip id a file's name gives ("7.wav", also "07.wav"); 0 for none.
std::int16_t clipIdOf(const fs::path& file) {
  const std::string stem = file.stem().string();
  std::int16_t id = 0;
  const auto [end, error] = std::from_chars(stem.data(), stem.data() + stem.size(), id);
  return error == std::errc() && end == stem.data() + stem.size() ? id : 0;
}

bool isWav(const fs::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".wav";
}

// The file's bytes, or why they cannot be a recording.
OwnRecording read(const fs::path& file) {
  OwnRecording recording{
      .file = utf8(file.filename()), .id = clipIdOf(file), .image = {}, .unreadable = {}};
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (error) {
    recording.unreadable = error.value() == ELOOP ? "Verweisschleife" : "nicht lesbar";
  } else if (!fs::is_regular_file(status)) {
    recording.unreadable = "keine gewöhnliche Datei";
  } else if (const std::uintmax_t size = fs::file_size(file, error); error) {
    recording.unreadable = "nicht lesbar";
  } else if (size == 0) {
    recording.unreadable = "leer";
  } else if (size > largestFile) {
    recording.unreadable = "größer als 4 MiB";
  } else {
    std::ifstream in(file, std::ios::binary);
    recording.image.resize(size);
    in.read(reinterpret_cast<char*>(recording.image.data()), static_cast<std::streamsize>(size));
    // Read whole, or not at all: a file that changed meanwhile is read at the next start.
    if (!in || in.peek() != std::char_traits<char>::eof()) recording.unreadable = "nicht lesbar";
  }
  return recording;
}

// The word or signal of each clip, as the user records it.
struct ClipWord {
  std::int16_t id;
  const char* word;
};
constexpr ClipWord clipWords[] = {{1, "eins"},
                                  {2, "zwei"},
                                  {3, "drei"},
                                  {4, "vier"},
                                  {5, "fünf"},
                                  {6, "sechs"},
                                  {7, "sieben"},
                                  {8, "acht"},
                                  {9, "neun"},
                                  {10, "zehn"},
                                  {11, "elf"},
                                  {12, "zwölf"},
                                  {13, "dreizehn"},
                                  {14, "vierzehn"},
                                  {15, "fünfzehn"},
                                  {16, "sechzehn"},
                                  {17, "siebzehn"},
                                  {18, "achtzehn"},
                                  {19, "neunzehn"},
                                  {20, "zwanzig"},
                                  {30, "dreißig"},
                                  {40, "vierzig"},
                                  {50, "fünfzig"},
                                  {clip::hourZero, "null (Uhr)"},
                                  {clip::hourOne, "ein (Uhr)"},
                                  {clip::link, "und (vor den Sekunden)"},
                                  {101, "einund"},
                                  {102, "zweiund"},
                                  {103, "dreiund"},
                                  {104, "vierund"},
                                  {105, "fünfund"},
                                  {106, "sechsund"},
                                  {107, "siebenund"},
                                  {108, "achtund"},
                                  {109, "neunund"},
                                  {clip::hourWord, "Uhr"},
                                  {clip::opening, "Es ist"},
                                  {clip::alarmSignal, "Alarmsignal"},
                                  {clip::announcementSignal, "Gong der Ansage"},
                                  {clip::seconds, "Sekunden"},
                                  {clip::oneSecond, "Sekunde"},
                                  {clip::secondOne, "eine (Sekunde)"}};

}  // namespace

std::vector<OwnRecording> readVoiceFolder(const fs::path& folder) {
  std::vector<OwnRecording> recordings;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    if (isWav(entry->path())) recordings.push_back(read(entry->path()));
  }
  // In the same order wherever the folder lists them.
  std::sort(recordings.begin(), recordings.end(),
            [](const OwnRecording& a, const OwnRecording& b) { return a.file < b.file; });
  return recordings;
}

Voice voiceOf(const fs::path& folder) {
  Voice voice(readVoiceFolder(folder));
  if (debugWanted()) {
    for (const auto& [file, why] : voice.rejected()) {
      std::fprintf(stderr, "lurvendel: eigene Aufnahme %s nicht genommen: %s\n", file.c_str(),
                   why.c_str());
    }
  }
  return voice;
}

int reportVoice(const fs::path& folder, const std::function<void(std::string_view)>& say) {
  const Voice voice(readVoiceFolder(folder));
  say("Eigene Aufnahmen aus " + utf8(folder) + "\n");
  for (const auto& [id, word] : clipWords) {
    char name[16];
    std::snprintf(name, sizeof name, "%5d.wav  ", id);
    // Padded by characters, not bytes: the umlauts take two.
    const std::string_view text(word);
    const auto shown =
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    say(name + std::string(text) + std::string(static_cast<size_t>(24 - shown), ' ') +
        (voice.isOwn(id) ? "eigene Aufnahme\n" : "eingebaut\n"));
  }
  for (const auto& [file, why] : voice.rejected()) say(file + " nicht genommen: " + why + "\n");
  return voice.rejected().empty() ? 0 : 1;
}
