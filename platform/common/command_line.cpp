#include "platform/common/command_line.h"

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

// An option as the user typed it, but that no control character in it reaches the console: C0,
// DEL, and C1 as UTF-8 writes them (0xC2 0x80 to 0xC2 0x9F) are shown as \xHH.
std::string printable(std::string_view option) {
  std::string shown;
  for (size_t i = 0; i < option.size(); ++i) {
    const auto byte = static_cast<unsigned char>(option[i]);
    const auto next = i + 1 < option.size() ? static_cast<unsigned char>(option[i + 1]) : 0;
    const bool c1 = byte == 0xC2 && next >= 0x80 && next <= 0x9F;
    if (byte >= 0x20 && byte != 0x7F && !c1) {
      shown += option[i];
      continue;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, c1 ? "\\x%02x\\x%02x" : "\\x%02x", byte, next);
    shown += hex;
    i += c1 ? 1 : 0;
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
