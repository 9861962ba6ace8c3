#include "platform/common/command_line.h"

#include <algorithm>
#include <cstdio>

#include "platform/common/clock_requests.h"
#include "platform/common/voice_folder.h"

const char* const usageText =
    "Aufruf: lurvendel [OPTION]\n"
    "Die Lurvendel, eine sprechende Tischuhr. Ohne Option startet sie; läuft sie schon, geschieht\n"
    "nichts.\n"
    "\n"
    "  --sprich, --speak     die laufende Uhr sagt die Uhrzeit; läuft keine, startet sie und\n"
    "                        sagt sie dann\n"
    "  --anzeigen, --show    das Fenster der laufenden Uhr kommt zurück und nach vorn; läuft\n"
    "                        keine, startet sie\n"
    "  --beenden, --quit     die laufende Uhr endet wie beim Schließen ihres Fensters: ist ein\n"
    "                        Alarm gestellt, fragt sie erst\n"
    "  --beenden-ohne-frage  die laufende Uhr endet, außer ein Alarm ist gestellt; sie fragt "
    "nicht\n"
    "  --stimme, --voice     welche Wörter die Uhr aus eigenen Aufnahmen spricht und welche\n"
    "                        eingebaut\n"
    "  --help                diese Hilfe\n"
    "  --version             die Version\n";

namespace {

// The length of the UTF-8 character that starts the text; 0 where none does (a byte out of place,
// an overlong form, a surrogate, a character cut short).
std::size_t utf8Length(std::string_view text) {
  const auto at = [&](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
  };
  const unsigned lead = at(0);
  if (lead < 0x80) return 1;
  struct Form {
    unsigned first, last;  // lead bytes
    std::size_t length;
    unsigned low, high;  // the second byte's range
  };
  for (const Form& form : {Form{0xC2, 0xDF, 2, 0x80, 0xBF},
                           {0xE0, 0xE0, 3, 0xA0, 0xBF},
                           {0xE1, 0xEC, 3, 0x80, 0xBF},
                           {0xED, 0xED, 3, 0x80, 0x9F},
                           {0xEE, 0xEF, 3, 0x80, 0xBF},
                           {0xF0, 0xF0, 4, 0x90, 0xBF},
                           {0xF1, 0xF3, 4, 0x80, 0xBF},
                           {0xF4, 0xF4, 4, 0x80, 0x8F}}) {
    if (lead < form.first || lead > form.last) continue;
    if (at(1) < form.low || at(1) > form.high) return 0;
    for (std::size_t i = 2; i < form.length; ++i) {
      if (at(i) < 0x80 || at(i) > 0xBF) return 0;
    }
    return form.length;
  }
  return 0;
}

// An option as the user typed it, but that no control character in it reaches the console: C0,
// DEL and C1 (0xC2 0x80 to 0xC2 0x9F in UTF-8), and every byte that is not UTF-8 (among them C1 as
// 8-bit terminals take it), are shown as \xHH.
std::string printable(std::string_view option) {
  std::string shown;
  for (std::size_t i = 0; i < option.size();) {
    const std::size_t length = utf8Length(option.substr(i));
    const auto byte = static_cast<unsigned char>(option[i]);
    const bool control = length == 1 ? byte < 0x20 || byte == 0x7F
                                     : length == 2 && byte == 0xC2 &&
                                           static_cast<unsigned char>(option[i + 1]) < 0xA0;
    if (length > 0 && !control) {
      shown += option.substr(i, length);
      i += length;
      continue;
    }
    for (std::size_t end = i + std::max<std::size_t>(length, 1); i < end; ++i) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(option[i]));
      shown += hex;
    }
  }
  return shown;
}

CommandLine answering(CommandLine::Request request) {
  CommandLine line;
  line.request = request;
  return line;
}

}  // namespace

std::optional<int> answerAtOnce(const CommandLine& line, const std::filesystem::path& voiceFolder,
                                const std::function<void(StandardStream, std::string_view)>& say) {
  switch (line.request) {
    case CommandLine::Request::help:
      say(StandardStream::output, usageText);
      return 0;
    case CommandLine::Request::version:
      say(StandardStream::output, "lurvendel " LURVENDEL_VERSION "\n");
      return 0;
    case CommandLine::Request::voice:
      return reportVoice(voiceFolder,
                         [&](std::string_view text) { say(StandardStream::output, text); });
    case CommandLine::Request::unknownOption:
      say(StandardStream::error, line.complaint);
      return 2;
    case CommandLine::Request::runClock:
      break;
  }
  return std::nullopt;
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (const std::string& option : arguments) {
    // "/?" as a Windows user asks for help.
    if (option == "--help" || option == "/?") return answering(CommandLine::Request::help);
    if (option == "--version") return answering(CommandLine::Request::version);
    if (option == "--stimme" || option == "--voice") return answering(CommandLine::Request::voice);
    if (option == "--sprich" || option == "--speak") {
      line.commands.push_back(clockCommand::speak);
    } else if (option == "--anzeigen" || option == "--show") {
      line.commands.push_back(clockCommand::show);
    } else if (option == "--beenden" || option == "--quit") {
      line.commands.push_back(clockCommand::quit);
    } else if (option == "--beenden-ohne-frage") {
      line.commands.push_back(clockCommand::quitWithoutAsking);
    } else {
      CommandLine unknown = answering(CommandLine::Request::unknownOption);
      unknown.complaint =
          "lurvendel: unbekannte Option " + printable(option) + " (lurvendel --help nennt alle)\n";
      return unknown;
    }
  }
  return line;
}
