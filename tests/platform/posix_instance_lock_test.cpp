#include "platform/posix/posix_instance_lock.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "platform/posix/command_socket.h"
#include "platform/posix/posix_clock_contact.h"
#include "support/descriptors.h"
#include "support/privileges.h"
#include "support/temp_folder.h"

namespace {

ClockPlaces in(std::vector<std::string> folders, std::string abstractName = "") {
  return {std::move(folders), std::move(abstractName)};
}

// Runs `body` in a child process as the given user, which exits with body's result; given a pipe
// to report on, it reports once body is done and then keeps what it holds until it is killed.
pid_t inChild(uid_t user, const std::function<int()>& body, int* ready = nullptr) {
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(user) != 0 || setuid(user) != 0) _exit(3);
    // After the change of user, which clears it: a test killed on its timeout leaves no holder.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int status = body();
    if (!ready) _exit(status);
    if (write(*ready, "x", 1) != 1) _exit(4);
    pause();
    _exit(0);
  }
  return child;
}

int exitStatus(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A child that holds what body took until it is killed.
struct Holder {
  Holder(uid_t user, const std::function<int()>& body) {
    EXPECT_EQ(pipe(ready), 0);
    pid = inChild(user, body, &ready[1]);
    char byte = 0;
    EXPECT_EQ(read(ready[0], &byte, 1), 1);
  }
  ~Holder() {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
  }
  int ready[2] = {-1, -1};
  pid_t pid = -1;
};

// A clock that answers every command with `word` until it is killed.
int answering(PosixInstanceLock& claim, const char* word) {
  if (claim.claim() != PosixInstanceLock::Outcome::claimed) return 1;
  std::thread([&claim, word] {
    while (true) {
      const int fd = accept(claim.listener(), nullptr, nullptr);
      char line[32];
      if (read(fd, line, sizeof line) > 0) send(fd, word, std::strlen(word), MSG_NOSIGNAL);
      close(fd);
    }
  }).detach();
  return 0;
}

std::string claimed(const ClockPlaces& places) {
  PosixInstanceLock first(places);
  const PosixInstanceLock::Outcome outcome = first.claim();
  std::string where = "-";
  for (size_t i = 0; i < places.folders.size(); ++i) {
    if (first.address() == commandSocketIn(places.folders[i])) where = std::to_string(i);
  }
  if (first.address().starts_with('@')) where = "@";
  if (outcome == PosixInstanceLock::Outcome::heldByClock) where = "held";
  const bool single = PosixInstanceLock(places).claim() == PosixInstanceLock::Outcome::heldByClock;
  return where + (single ? " single" : " second");
}

// What the first claim got (the folder's index, "@" for the abstract name, "-" for none),
// whether a second one then finds the place held, and whether the two left a descriptor open.
std::string claimsWith(const ClockPlaces& places) {
  const int descriptors = openDescriptors();
  const std::string outcome = claimed(places);
  return outcome + (openDescriptors() == descriptors ? "" : " leaking");
}

}  // namespace

// The first clock holds its place as long as it runs, also when it is killed, never longer; a
// socket left behind by a killed clock is no obstacle. A caller that found a clock and asks
// again after it went learns what is there now.
TEST(PosixInstanceLock, OnlyTheFirstHolderRunsUntilItGoes) {
  const TempFolder folder("lurvendel-claim");
  const ClockPlaces places = in({folder.path()});
  auto first = std::make_unique<PosixInstanceLock>(places);
  EXPECT_EQ(first->claim(), PosixInstanceLock::Outcome::claimed);
  EXPECT_EQ(first->claim(), PosixInstanceLock::Outcome::claimed) << "asked again";
  EXPECT_TRUE(PosixInstanceLock(places).anotherInstanceRunning());
  EXPECT_TRUE(clockListens(places.commandAddresses()));
  first.reset();
  PosixInstanceLock caller(places);
  {
    const Holder killed(geteuid(), [&] {
      return (new PosixInstanceLock(places))->claim() == PosixInstanceLock::Outcome::claimed ? 0
                                                                                             : 1;
    });
    EXPECT_TRUE(caller.anotherInstanceRunning());
  }
  chmod(folder.path().c_str(), 0777);  // no longer a private place
  EXPECT_EQ(caller.claim(), PosixInstanceLock::Outcome::nowhere);
  chmod(folder.path().c_str(), 0700);
  PosixInstanceLock next(places);
  EXPECT_EQ(next.claim(), PosixInstanceLock::Outcome::claimed);
  EXPECT_TRUE(clockListens(places.commandAddresses()));
}

// The claim handed across the exec that makes the command the desktop clock is the one clock's
// still: the program that follows holds the lock and the listener callers reach, can make its
// socket again, and nothing stays named in the environment or open to what it starts. So also
// for a command started with standard input closed, whose listener is then descriptor 0.
TEST(PosixInstanceLock, AClaimHandedOverAcrossAnExecIsTakenUpWhole) {
  const TempFolder folder("lurvendel-claim");
  const int descriptors = openDescriptors();
  for (const bool inputClosed : {false, true}) {
    const ClockPlaces places =
        inputClosed ? ClockPlaces{{}, "lurvendel-handover-" + std::to_string(getpid())}
                    : in({folder.path()});
    const int input = dup(0);
    if (inputClosed) close(0);
    {
      PosixInstanceLock taker(places);
      EXPECT_FALSE(taker.takeUpHandedOver()) << "nothing handed over";
      PosixInstanceLock giver(places);
      ASSERT_EQ(giver.claim(), PosixInstanceLock::Outcome::claimed);
      const int listener = giver.listener();
      const std::string address = giver.address();
      if (inputClosed) {
        EXPECT_EQ(listener, 0);
      }
      giver.handOverAcrossExec();
      EXPECT_EQ(giver.listener(), -1);
      // The abstract name's listener is its lock; a folder's lock is a file of its own.
      int lock = -1;
      ASSERT_EQ(std::sscanf(std::getenv("LURVENDEL_CLAIM"), "%d,", &lock), 1);
      const auto closedByExec = [&] {
        std::vector<bool> closed;
        for (const int fd : {lock, listener}) {
          if (fd >= 0) closed.push_back(fcntl(fd, F_GETFD) & FD_CLOEXEC);
        }
        return closed;
      };
      EXPECT_EQ(closedByExec(), std::vector<bool>(inputClosed ? 1 : 2, false));
      ASSERT_TRUE(taker.takeUpHandedOver());
      EXPECT_EQ(std::getenv("LURVENDEL_CLAIM"), nullptr);
      EXPECT_EQ(taker.listener(), listener);
      EXPECT_EQ(taker.address(), address);
      EXPECT_FALSE(taker.anotherInstanceRunning()) << "the clock is the one that runs";
      EXPECT_EQ(closedByExec(), std::vector<bool>(inputClosed ? 1 : 2, true))
          << "left open to what the clock starts";
      EXPECT_TRUE(PosixInstanceLock(places).anotherInstanceRunning());
      unlink(taker.address().c_str());
      EXPECT_GE(taker.renew(), 0);
      EXPECT_TRUE(clockListens(places.commandAddresses()));
    }
    dup2(input, 0);
    close(input);
  }
  EXPECT_EQ(openDescriptors(), descriptors);
}

// One clock per user, whatever stands in the way; no other user can keep it from starting or
// make it start twice; and where no lock can be had at all it starts rather than never. The user
// is played by a second uid, so that folder permissions count as they do for a person.
TEST(PosixInstanceLock, OneClockPerUserWhateverThePlacesAreLike) {
  for (const std::string& why :
       {privileges::whyNot("to play other users", privileges::playAnotherUser),
        privileges::whyNoPrivateMounts()}) {
    if (!why.empty()) GTEST_SKIP() << why;
  }
  const uid_t user = 65534;
  const uid_t other = 65533;
  const TempFolder temp("lurvendel-claim");
  const std::string& base = temp.path();
  chmod(base.c_str(), 01777);
  const auto folder = [&](const std::string& name, mode_t mode, uid_t owner) {
    const std::string path = base + "/" + name;
    mkdir(path.c_str(), mode);
    chmod(path.c_str(), mode);
    EXPECT_EQ(chown(path.c_str(), owner, owner), 0);
    return path;
  };
  const std::string shared = base + "/lurvendel-user";  // made by the clock if missing
  const std::string cache = folder("home", 0700, user) + "/.cache/lurvendel";
  const std::string taken = folder("taken", 0700, user);
  folder("taken/lurvendel.lock", 0700, user);
  const std::string readOnly = folder("read-only", 0500, user);
  const std::string othersRuntime = folder("others", 0700, other);
  const std::string writableByAll = folder("writable", 0777, user);
  const std::string tooLong = folder(std::string(100, 'x'), 0700, user);
  // Its socket's path at the limit of a socket address, 107 characters and the NUL.
  const std::string longest = folder(std::string(107 - base.size() - 18, 'y'), 0700, user);
  const std::string full = folder("full", 0700, user);
  const std::string name = "lurvendel-test-" + std::to_string(getpid());

  struct Case {
    const char* what;
    ClockPlaces places;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"a folder in the lock file's place", in({taken, shared}), "0 single"},
      {"a read-only runtime folder", in({readOnly, shared, cache}), "1 single"},
      {"another user's runtime folder", in({othersRuntime, shared, cache}), "1 single"},
      {"a runtime folder anyone may write", in({writableByAll, shared, cache}), "1 single"},
      {"a runtime path too long for a socket", in({tooLong, shared}), "1 single"},
      {"a runtime path just short enough", in({longest, shared}), "0 single"},
      {"a runtime folder with no room for a socket", in({full, shared}), "1 single"},
      {"no private folder at all", in({readOnly, othersRuntime}, name), "@ single"},
      {"no lock anywhere", in({readOnly, othersRuntime}), "- second"},
  };
  for (const Case& c : cases) {
    const pid_t child = fork();
    if (child == 0) {
      // Room for the folder itself and a lock file, not for a socket, in a mount of its own.
      if (!privileges::enterPrivateMounts() ||
          mount("none", full.c_str(), "tmpfs", 0, "nr_inodes=2,mode=0700,uid=65534,gid=65534")) {
        _exit(5);
      }
      _exit(exitStatus(inChild(user, [&] { return claimsWith(c.places) == c.expected ? 0 : 1; })));
    }
    EXPECT_EQ(exitStatus(child), 0) << c.what << ": not " << c.expected;
  }

  // Another user got to the shared folder and to the abstract name first and holds both.
  const std::string squatted = folder("squatted", 0777, other);
  const Holder squatter(other, [&] {
    const int fd = open((squatted + "/lurvendel.lock").c_str(), O_RDWR | O_CREAT, 0666);
    return flock(fd, LOCK_EX) + (listenAt("@" + name).release() < 0);  // held until killed
  });
  EXPECT_EQ(exitStatus(inChild(user,
                               [&] {
                                 return claimsWith(in({squatted, cache})) != "1 single";
                               })),
            0)
      << "another user's lock in the shared folder";
  EXPECT_EQ(
      exitStatus(inChild(user, [&] { return claimsWith(in({readOnly}, name)) != "- second"; })), 0)
      << "another user's abstract name";
  // Root, handed another user's runtime folder (sudo keeps the variable), keeps out of it.
  EXPECT_EQ(claimsWith(in({othersRuntime, base + "/root"})), "1 single");
}

// A claimed folder that another user could write to once made again, or that cannot be made again
// (a file in its place): the clock moves its lock and socket to the next place, where callers
// find it. A name held whose queue is full may be a clock of this user's that does not answer:
// no second clock starts.
TEST(PosixInstanceLock, AClockWhosePlaceWillNoLongerDoMovesToTheNext) {
  const TempFolder temp("lurvendel-claim");
  const std::string first = temp.path() + "/run";
  const ClockPlaces places = in({first, temp.path() + "/next"});
  for (const auto& [what, spoil] :
       {std::pair<const char*, std::function<void()>>{"made again open to all",
                                                      [&] { mkdir(first.c_str(), 0777); }},
        {"a file in its place", [&] { close(open(first.c_str(), O_CREAT | O_WRONLY, 0600)); }}}) {
    PosixInstanceLock clock(places);
    ASSERT_EQ(clock.claim(), PosixInstanceLock::Outcome::claimed);
    std::filesystem::remove_all(first);
    spoil();
    chmod(first.c_str(), 0777);
    EXPECT_GE(clock.renew(), 0) << what;
    EXPECT_EQ(clock.address(), commandSocketIn(places.folders[1])) << what;
    EXPECT_TRUE(clockListens(places.commandAddresses())) << what;
    EXPECT_EQ(PosixInstanceLock(places).claim(), PosixInstanceLock::Outcome::heldByClock) << what;
    EXPECT_FALSE(std::filesystem::exists(first + "/lurvendel.lock")) << what;
    std::filesystem::remove_all(first);
  }
  PosixInstanceLock alone(in({first}));
  ASSERT_EQ(alone.claim(), PosixInstanceLock::Outcome::claimed);
  chmod(first.c_str(), 0777);
  EXPECT_EQ(alone.renew(), -1) << "no place left";
  EXPECT_EQ(alone.address(), "");

  const std::string name = "lurvendel-test-" + std::to_string(getpid()) + "-flooded";
  const UniqueFd held = listenAt("@" + name);
  listen(held.get(), 0);
  std::vector<UniqueFd> queued;
  bool full = false;
  while (!full && queued.size() < 8) queued.push_back(connectToClock("@" + name, &full));
  ASSERT_TRUE(full);
  EXPECT_EQ(PosixInstanceLock(in({}, name)).claim(), PosixInstanceLock::Outcome::heldByClock);
}

// A caller finds the running clock wherever it runs and hears its answer.
TEST(PosixInstanceLock, CallersReachTheRunningClockAndHearItsAnswer) {
  const TempFolder runtimeFolder("lurvendel-claim"), fallback("lurvendel-claim");
  const std::string& runtime = runtimeFolder.path();
  const ClockPlaces places = in({runtime, fallback.path()});
  const auto handOver = [&](std::vector<std::string_view> commands) {
    PosixInstanceLock claim(places);
    PosixClockContact contact(claim);
    return handOverToRunningClock(commands, contact);
  };
  EXPECT_EQ(handOver({clockCommand::speak}), std::nullopt) << "no clock runs";
  EXPECT_EQ(handOver({clockCommand::quit}), 0) << "no clock runs, and none is started to quit";

  for (const auto& [word, status, line] :
       {std::tuple{"ok\n", 0, ""},
        {"belegt\n", 1, "lurvendel: die Uhr ist beschäftigt und nimmt gerade nichts mehr an\n"},
        {"bleibt\n", 1, "lurvendel: die Uhr läuft weiter, ein Alarm ist gestellt\n"},
        {"?\n", 1, "lurvendel: die laufende Uhr antwortet nicht\n"}}) {
    const Holder clock(geteuid(), [&] { return answering(*new PosixInstanceLock(places), word); });
    testing::internal::CaptureStderr();
    EXPECT_EQ(handOver({clockCommand::speak, clockCommand::show}), status) << word;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), line);
  }

  // The runtime folder open to all while the clock runs: still the clock's, found there.
  const Holder clock(geteuid(), [&] { return answering(*new PosixInstanceLock(places), "ok\n"); });
  chmod(runtime.c_str(), 0777);
  EXPECT_EQ(handOver({}), 0);
  chmod(runtime.c_str(), 0700);

  // Started without standard input (as some launchers start them), a clock and a caller get a
  // lock or a socket as descriptor 0, and all goes as before.
  const std::string name = "lurvendel-test-" + std::to_string(getpid());
  const Holder named(geteuid(),
                     [&] { return answering(*new PosixInstanceLock(in({}, name)), "ok\n"); });
  const TempFolder fresh("lurvendel-claim");
  const auto withoutInput = [&] {
    close(STDIN_FILENO);
    using enum PosixInstanceLock::Outcome;
    const bool inFolder = PosixInstanceLock(in({fresh.path()})).claim() == claimed;
    const bool byName = PosixInstanceLock(in({}, name + "-free")).claim() == claimed;
    const bool namedFound = PosixInstanceLock(in({}, name)).claim() == heldByClock;
    return inFolder && byName && namedFound && handOver({clockCommand::speak}) == 0 ? 0 : 1;
  };
  EXPECT_EQ(exitStatus(inChild(geteuid(), withoutInput)), 0);
}

// The places follow the session: its runtime folder first, the shared folder, the user's cache.
TEST(PosixInstanceLock, ThePlacesFollowTheSession) {
  using Folders = std::vector<std::string>;
  const auto folders = [] {
    Folders found = sessionFolders();
    std::erase_if(found, [](const std::string& f) { return f.starts_with("/run/user/"); });
    return found;
  };
  const std::string shared = "/tmp/lurvendel-" + std::to_string(geteuid());
  setenv("HOME", "/home/u", 1);
  setenv("XDG_RUNTIME_DIR", "/session", 1);
  setenv("XDG_CACHE_HOME", "", 1);
  EXPECT_EQ(folders(), (Folders{"/session", shared, "/home/u/.cache/lurvendel"}));
  unsetenv("XDG_RUNTIME_DIR");
  setenv("XDG_CACHE_HOME", "/cache", 1);
  EXPECT_EQ(folders(), (Folders{shared, "/cache/lurvendel"}));
  EXPECT_FALSE(privateFolder(".", false)) << "a relative path depends on where a clock started";
  // The voice folder too, in the user's data; a relative XDG_DATA_HOME counts for nothing.
  for (const auto& [data, folder] : {std::pair{"/data", "/data/lurvendel/stimme"},
                                     {"data", "/home/u/.local/share/lurvendel/stimme"},
                                     {"", "/home/u/.local/share/lurvendel/stimme"}}) {
    setenv("XDG_DATA_HOME", data, 1);
    EXPECT_EQ(voiceFolder(), folder) << data;
  }
}

TEST(PosixInstanceLock, TwoCallersAtOnceMakeOneClockThatHearsBoth) {
  const TempFolder folder("lurvendel-claim");
  const ClockPlaces places = in({folder.path()});
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  std::vector<pid_t> callers;
  for (int i = 0; i < 2; ++i) {
    callers.push_back(inChild(geteuid(), [&] {
      char byte = 0;
      if (read(go[0], &byte, 1) != 1) return 9;
      PosixInstanceLock claim(places);
      PosixClockContact contact(claim);
      if (const auto status = handOverToRunningClock({clockCommand::speak}, contact)) {
        return *status;
      }
      // The clock: the other caller's request arrives within seconds, after a knock.
      char line[32] = {};
      int fd = -1;
      do fd = accept(claim.listener(), nullptr, nullptr);
      while (read(fd, line, sizeof line - 1) <= 0);
      send(fd, "ok\n", 3, MSG_NOSIGNAL);
      return std::string(line) == "sprich\n" ? 10 : 11;
    }));
  }
  ASSERT_EQ(write(go[1], "xx", 2), 2);
  std::vector<int> statuses = {exitStatus(callers[0]), exitStatus(callers[1])};
  std::sort(statuses.begin(), statuses.end());
  EXPECT_EQ(statuses, (std::vector<int>{0, 10}));
}
