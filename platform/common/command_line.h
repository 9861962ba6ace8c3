#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the user asked for on the command line.
struct CommandLine {
  enum class Request { runClock, help, version, voice, unknownOption };
  Request request = Request::runClock;
  // For runClock: the commands for the clock (clockCommand), in the order given.
  std::vector<std::string_view> commands;
  // For unknownOption: the line that says so.
  std::string complaint;
};

// The arguments after the program's name, as UTF-8. --help, --version and --stimme answer at once.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

extern const char* const usageText;

enum class StandardStream { output, error };

// What the program answers itself, help, its version, the recordings of the user's voice folder or
// an unknown option, said through `say`: the exit status. Nothing where the request is for a clock.
std::optional<int> answerAtOnce(const CommandLine& line, const std::filesystem::path& voiceFolder,
                                const std::function<void(StandardStream, std::string_view)>& say);
