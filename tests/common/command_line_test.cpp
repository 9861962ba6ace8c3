#include "platform/common/command_line.h"

#include <gtest/gtest.h>

#include "platform/common/clock_requests.h"

namespace {

using Request = CommandLine::Request;

std::vector<std::string_view> commandsOf(const std::vector<std::string>& arguments) {
  const CommandLine line = parseCommandLine(arguments);
  EXPECT_EQ(line.request, Request::runClock);
  return line.commands;
}

std::string complaintAbout(const std::string& option) {
  const CommandLine line = parseCommandLine({"--sprich", option, "--help"});
  EXPECT_EQ(line.request, Request::unknownOption);
  return line.complaint;
}

}  // namespace

// Each command in both its languages, in the order given; help and version answer at once,
// wherever they stand.
TEST(CommandLine, TakesTheCommandsInOrderAndAnswersHelpAtOnce) {
  using namespace clockCommand;
  EXPECT_TRUE(commandsOf({}).empty());
  EXPECT_EQ(commandsOf({"--sprich", "--speak", "--anzeigen", "--show"}),
            (std::vector{speak, speak, show, show}));
  EXPECT_EQ(commandsOf({"--quit", "--beenden-ohne-frage", "--beenden"}),
            (std::vector{quit, quitWithoutAsking, quit}));
  EXPECT_EQ(parseCommandLine({"--sprich", "--help", "--x"}).request, Request::help);
  EXPECT_EQ(parseCommandLine({"/?"}).request, Request::help);
  EXPECT_EQ(parseCommandLine({"--anzeigen", "--version", "--help"}).request, Request::version);
  EXPECT_TRUE(parseCommandLine({"--sprich", "--version"}).commands.empty());
  EXPECT_EQ(parseCommandLine({"--sprich", "--stimme"}).request, Request::voice);
  EXPECT_EQ(parseCommandLine({"--voice", "--sprich"}).request, Request::voice);
}

// The first unknown option is named, with every control character (C0, DEL, C1) and every byte that
// is not UTF-8 shown as its bytes, and every other character, umlauts too, as typed.
TEST(CommandLine, NamesAnUnknownOptionWithoutItsControlCharacters) {
  EXPECT_EQ(complaintAbout("-sprich"),
            "lurvendel: unbekannte Option -sprich (lurvendel --help nennt alle)\n");
  EXPECT_EQ(complaintAbout(std::string("--\x1f\x20~\x7f\x00\xc2\x9b", 9)),
            "lurvendel: unbekannte Option --\\x1f ~\\x7f\\x00\\xc2\\x9b (lurvendel --help nennt "
            "alle)\n");
  EXPECT_EQ(complaintAbout("\xc2\x80\xc2\x9f\xc2\xa0\xc3\xbc\xc2"),
            "lurvendel: unbekannte Option \\xc2\\x80\\xc2\\x9f\xc2\xa0\xc3\xbc\\xc2 (lurvendel "
            "--help nennt alle)\n");
  // Bytes that are no UTF-8: C1 as 8-bit terminals take it, Latin-1, overlong, surrogate, a third
  // byte out of place, cut short; characters at the edges of UTF-8 stay.
  EXPECT_EQ(complaintAbout("\x9b\x80\xe4\xc0\xaf\xed\xa0\x80\xe2\x82\x41\xe0\xa0\x80\xe0\xbf\xbf"
                           "\xf4\x8f\xbf\xbf\xf0\x9f"),
            "lurvendel: unbekannte Option \\x9b\\x80\\xe4\\xc0\\xaf\\xed\\xa0\\x80\\xe2\\x82A"
            "\xe0\xa0\x80\xe0\xbf\xbf\xf4\x8f\xbf\xbf\\xf0\\x9f (lurvendel --help nennt alle)\n");
}
