#include "platform/common/voice_folder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <map>

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

// The word or signal of a clip of the store, as the user records it.
std::string clipWord(std::int16_t id) {
  static constexpr const char* numbers[] = {
      "",         "eins",     "zwei",     "drei",     "vier",     "fünf",     "sechs",
      "sieben",   "acht",     "neun",     "zehn",     "elf",      "zwölf",    "dreizehn",
      "vierzehn", "fünfzehn", "sechzehn", "siebzehn", "achtzehn", "neunzehn", "zwanzig"};
  static const std::map<std::int16_t, const char*> others = {
      {30, "dreißig"},
      {40, "vierzig"},
      {50, "fünfzig"},
      {clip::hourZero, "null (Uhr)"},
      {clip::hourOne, "ein (Uhr)"},
      {clip::link, "und (vor den Sekunden)"},
      {clip::hourWord, "Uhr"},
      {clip::opening, "Es ist"},
      {clip::alarmSignal, "Alarmsignal"},
      {clip::announcementSignal, "Gong der Ansage"},
      {clip::seconds, "Sekunden"},
      {clip::oneSecond, "Sekunde"},
      {clip::secondOne, "eine (Sekunde)"}};
  if (id >= 1 && id <= 20) return numbers[id];
  // The "...und" forms: the unit, "ein" for one, and "und".
  if (id > clip::compoundUnitBase) {
    const int unit = id - clip::compoundUnitBase;
    if (unit <= 9) return std::string(unit == 1 ? "ein" : numbers[unit]) + "und";
  }
  return others.at(id);
}

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
  for (const StoredClip& stored : ATM_SOUND()) {
    const std::int16_t id = stored.id;
    char name[16];
    std::snprintf(name, sizeof name, "%5d.wav  ", id);
    // Padded by characters, not bytes: the umlauts take two.
    const std::string word = clipWord(id);
    const std::string_view text(word);
    const auto shown =
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    say(name + std::string(text) + std::string(static_cast<size_t>(24 - shown), ' ') +
        (voice.isOwn(id) ? "eigene Aufnahme\n" : "eingebaut\n"));
  }
  for (const auto& [file, why] : voice.rejected()) say(file + " nicht genommen: " + why + "\n");
  return voice.rejected().empty() ? 0 : 1;
}
