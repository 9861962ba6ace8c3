#include "platform/qt/command_server.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include <QCoreApplication>
#include <QTest>

#include "platform/posix/clock_commands.h"

namespace {

std::string tempFolder() {
  char dir[] = "/tmp/lurvendel-commands-XXXXXX";
  return mkdtemp(dir);
}

// Writes the pieces one after the other on one connection, as a client might, then closes it.
void sendRaw(const std::string& folder, const std::vector<std::string>& pieces) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = folder + "/lurvendel.socket";
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  for (const std::string& piece : pieces) {
    send(fd, piece.data(), piece.size(), MSG_NOSIGNAL);
    QTest::qWait(20);
  }
  close(fd);
}

}  // namespace

// Only one short line naming a command is obeyed; whatever else comes is dropped unheard.
TEST(CommandServer, ObeysAKnownCommandInOneShortLineAndNothingElse) {
  const std::string folder = tempFolder();
  EXPECT_FALSE(sendToRunningClock(clockCommand::speak, {folder})) << "no clock listens yet";
  std::vector<std::string> obeyed;
  CommandServer server([&](std::string_view command) { obeyed.emplace_back(command); });
  server.listen(folder);

  EXPECT_TRUE(sendToRunningClock(clockCommand::speak, {folder}));
  sendRaw(folder, {"anz", "eigen\n"});
  sendRaw(folder, {"bitte\n"});
  sendRaw(folder, {"sprich"});
  sendRaw(folder, {std::string(4096, 'x') + "\n"});
  sendRaw(folder, {"sprich sprich\n"});
  QTest::qWait(200);

  EXPECT_EQ(obeyed, (std::vector<std::string>{"sprich", "anzeigen"}));
}

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
