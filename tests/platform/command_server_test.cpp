#include "platform/qt/command_server.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include "platform/posix/command_socket.h"
#include "platform/posix/posix_clock_contact.h"
#include "platform/posix/posix_instance_lock.h"
#include "support/descriptors.h"
#include "support/privileges.h"
#include "support/temp_folder.h"

namespace {

// A server on a claim of its own; obey takes what it is given while `busy` is false.
struct Server {
  // In a folder of its own (another next to it), or only at an abstract name that any user can
  // reach.
  explicit Server(const std::string& abstractName = "")
      : claim(abstractName.empty() ? ClockPlaces{{folder.path(), next.path()}, ""}
                                   : ClockPlaces{{}, abstractName}) {
    EXPECT_TRUE(claimed);
    server.listen(claim);
  }
  // Asks as another process would, while this one's event loop runs.
  ClockAnswer ask(std::string_view command) {
    auto answer = std::async(std::launch::async, [&] {
      return askRunningClock(command, claim.places().commandAddresses());
    });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return answer.get();
  }
  // Writes the pieces one after the other on one connection, as a client might, which then waits
  // for an answer as long as the server lives.
  void sendRaw(const std::vector<std::string>& pieces) {
    UniqueFd& fd = rawCallers.emplace_back(connectToClock(claim.address()));
    ASSERT_TRUE(fd);
    for (const std::string& piece : pieces) {
      send(fd.get(), piece.data(), piece.size(), MSG_NOSIGNAL);
      QTest::qWait(20);
    }
  }
  std::vector<UniqueFd> rawCallers;

  TempFolder folder{"lurvendel-commands"};
  TempFolder next{"lurvendel-commands"};
  PosixInstanceLock claim;
  // Taken before the server exists, as the clock's command takes it before the clock starts.
  const bool claimed = claim.claim() == PosixInstanceLock::Outcome::claimed;
  std::vector<std::string> obeyed;
  ClockAnswer answer = ClockAnswer::taken;
  std::function<void()> whileObeying;  // once, as a clip runs the event loop
  CommandServer server{[this](std::string_view command) {
    if (answer != ClockAnswer::busy) obeyed.emplace_back(command);
    if (whileObeying) std::exchange(whileObeying, nullptr)();
    return answer;
  }};
};

}  // namespace

// Only one short line naming a command is obeyed and answered; whatever else comes is dropped
// unheard. A clock too busy, or with too many callers at once, says so.
TEST(CommandServer, AnswersAKnownCommandInOneShortLineAndNothingElse) {
  Server clock;
  errno = EAGAIN;  // as a call that failed before left it: a read that succeeds does not clear it
  EXPECT_EQ(clock.ask(clockCommand::speak), ClockAnswer::taken);
  clock.sendRaw({"a", "nzeigen\n"});
  clock.sendRaw({"bitte\n"});
  clock.sendRaw({"sprich"});
  clock.sendRaw({std::string(4096, 'x') + "\n"});
  clock.sendRaw({"sprich sprich\n"});
  QTest::qWait(200);
  EXPECT_EQ(clock.obeyed, (std::vector<std::string>{"sprich", "anzeigen"}));

  clock.answer = ClockAnswer::kept;
  EXPECT_EQ(clock.ask(clockCommand::quitWithoutAsking), ClockAnswer::kept);
  clock.answer = ClockAnswer::busy;
  EXPECT_EQ(clock.ask(clockCommand::speak), ClockAnswer::busy);
  clock.answer = ClockAnswer::taken;
  std::vector<UniqueFd> idle;
  for (int i = 0; i < 8; ++i) idle.push_back(connectToClock(clock.claim.address()));
  EXPECT_EQ(clock.ask(clockCommand::speak), ClockAnswer::busy) << "with eight callers silent";
  idle.clear();
  QTest::qWait(100);
  EXPECT_EQ(clock.ask(clockCommand::speak), ClockAnswer::taken) << "after they hung up";
  for (int i = 0; i < 8; ++i) idle.push_back(connectToClock(clock.claim.address()));
  QTest::qWait(100);
  EXPECT_TRUE(QTest::qWaitFor([&] { return clock.ask(clockCommand::speak) == ClockAnswer::taken; }))
      << "once the silent ones had their second";
}

// A connection carries one command: what its caller sends while it is carried out is dropped, and
// so is the command of a caller that has gone.
TEST(CommandServer, OneConnectionCarriesOneCommand) {
  Server clock;
  const UniqueFd fd = connectToClock(clock.claim.address());
  const auto sprich = [&] { send(fd.get(), "sprich\n", 7, MSG_NOSIGNAL); };
  clock.whileObeying = [&] {
    sprich();
    // As a clip pumps the loop: deferred deletes wait, unlike in qWait.
    QTimer::singleShot(100, [] {});
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  };
  sprich();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !clock.whileObeying; }));
  QTest::qWait(100);
  EXPECT_EQ(clock.obeyed.size(), 1u);

  // A caller gone before the clock read its command (the clock was stopped meanwhile) asked for
  // nothing any more.
  send(connectToClock(clock.claim.address()).get(), "sprich\n", 7, MSG_NOSIGNAL);
  QTest::qWait(100);
  EXPECT_EQ(clock.obeyed.size(), 1u);
}

// Started with standard input closed and no private folder, the clock listens on descriptor 0.
TEST(CommandServer, AListenerOnDescriptorZeroIsHeard) {
  const int input = dup(0);
  close(0);
  {
    Server clock("lurvendel-input-" + std::to_string(getpid()));
    ASSERT_EQ(clock.claim.listener(), 0);
    EXPECT_EQ(clock.ask(clockCommand::speak), ClockAnswer::taken);
  }
  dup2(input, 0);
  close(input);
}

// Another user's connection is dropped unheard, also where that user can reach the socket.
TEST(CommandServer, AnotherUsersCommandIsNeitherObeyedNorAnswered) {
  const std::string why =
      privileges::whyNot("root, to play another user", privileges::playAnotherUser);
  if (!why.empty()) GTEST_SKIP() << why;
  Server clock("lurvendel-commands-" + std::to_string(getpid()));
  const pid_t stranger = fork();
  if (stranger == 0) {
    // Connected as a caller would, without its check of who listens.
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    const std::string name = clock.claim.address();
    name.copy(address.sun_path + 1, name.size() - 1, 1);
    const UniqueFd fd(socket(AF_UNIX, SOCK_STREAM, 0));
    char answer = 0;
    _exit(privileges::playAnotherUser() &&
                  connect(fd.get(), reinterpret_cast<sockaddr*>(&address),
                          static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size())) ==
                      0 &&
                  send(fd.get(), "sprich\n", 7, MSG_NOSIGNAL) == 7 &&
                  recv(fd.get(), &answer, 1, 0) <= 0
              ? 0
              : 1);
  }
  int status = -1;
  EXPECT_TRUE(QTest::qWaitFor([&] { return waitpid(stranger, &status, WNOHANG) == stranger; }));
  EXPECT_EQ(status, 0) << "answered, or could not ask";
  EXPECT_TRUE(clock.obeyed.empty());
}

// Deleted alone or with its folder (also where a lock file not held stands there again), or a
// file put in its place, the socket is there again at once, and so is the lock; as often as it
// happens, without a descriptor left behind. Only changed, it stays as it is.
TEST(CommandServer, ASocketWhoseFileGoesIsMadeAgain) {
  Server clock;
  const std::string& folder = clock.folder.path();
  const std::string socket = folder + "/lurvendel.socket";
  // A socket made anew would have the mode the umask gives it.
  ASSERT_EQ(std::system(("chmod 0701 " + socket).c_str()), 0);
  QTest::qWait(100);
  struct stat file {};
  EXPECT_EQ(stat(socket.c_str(), &file), 0);
  EXPECT_EQ(file.st_mode & 0777, 0701u);
  std::vector<int> descriptors;
  for (int round = 0; round < 2; ++round) {
    for (const std::string& removal : {"rm " + socket, "rm -r " + folder,
                                       "rm -r " + folder + " && mkdir -m 0700 " + folder +
                                           " && touch " + folder + "/lurvendel.lock",
                                       "touch " + folder + "/x && mv " + folder + "/x " + socket}) {
      ASSERT_EQ(std::system(removal.c_str()), 0);
      EXPECT_TRUE(QTest::qWaitFor([&] {
        struct stat made {};
        return stat(socket.c_str(), &made) == 0 && S_ISSOCK(made.st_mode);
      })) << removal;
      EXPECT_EQ(clock.ask(clockCommand::speak), ClockAnswer::taken) << removal;
      EXPECT_TRUE(PosixInstanceLock(clock.claim.places()).anotherInstanceRunning()) << removal;
    }
    descriptors.push_back(openDescriptors());
  }
  EXPECT_EQ(descriptors[0], descriptors[1]);
}

// A folder made again open to all will no longer do: the clock goes on in the next place, and a
// socket that goes there is made again as well.
TEST(CommandServer, AClockWhosePlaceWillNoLongerDoGoesOnInTheNext) {
  Server clock;
  const std::string& folder = clock.folder.path();
  const std::string socket = clock.next.path() + "/lurvendel.socket";
  const auto listens = [&] {
    struct stat made {};
    return stat(socket.c_str(), &made) == 0 && S_ISSOCK(made.st_mode);
  };
  ASSERT_EQ(std::system(("rm -r " + folder + " && mkdir -m 0777 " + folder).c_str()), 0);
  EXPECT_TRUE(QTest::qWaitFor(listens));
  EXPECT_EQ(clock.ask(clockCommand::speak), ClockAnswer::taken);
  EXPECT_FALSE(std::filesystem::exists(folder + "/lurvendel.socket"));
  ASSERT_EQ(std::system(("rm " + socket).c_str()), 0);
  EXPECT_TRUE(QTest::qWaitFor(listens));
  EXPECT_EQ(clock.ask(clockCommand::speak), ClockAnswer::taken);

  // With no place at all there is no socket to watch, and nothing to say about it.
  PosixInstanceLock nowhere(ClockPlaces{{}, ""});
  CommandServer none([](std::string_view) { return ClockAnswer::taken; });
  none.listen(nowhere);
}

int main(int argc, char** argv) {
  // The clock prints nothing: a warning of Qt's is a fault of the server's.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
    ADD_FAILURE() << message.toStdString();
  });
  // Qt's own event dispatcher, which, unlike GLib's, says when two notifiers watch one number.
  qputenv("QT_NO_GLIB", "1");
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
