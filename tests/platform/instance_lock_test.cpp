#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/posix/instance_lock_file.h"

namespace {

using Folders = std::vector<std::string>;

std::string tempFolder() {
  char dir[] = "/tmp/lurvendel-lock-XXXXXX";
  return mkdtemp(dir);
}

// Runs `body` in a child process as the given user, which exits with body's result; given a pipe
// to report on, it reports once body is done and then keeps what it holds until it is killed.
pid_t inChild(uid_t user, const std::function<int()>& body, int* ready = nullptr) {
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(user) != 0 || setuid(user) != 0) _exit(3);
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

// 0: the first clock starts and a second one sees it; 1: a second one starts as well;
// 2: the first one does not start.
int clocksWith(const Folders& folders) {
  InstanceLockFile first(folders);
  if (first.anotherInstanceRunning()) return 2;
  return InstanceLockFile(folders).anotherInstanceRunning() ? 0 : 1;
}

}  // namespace

// The first clock holds the lock as long as it runs, also when it is killed, never longer.
TEST(InstanceLockFile, OnlyTheFirstHolderRunsUntilItGoes) {
  const Folders folders = {tempFolder()};
  auto first = std::make_unique<InstanceLockFile>(folders);
  EXPECT_FALSE(first->anotherInstanceRunning());
  EXPECT_TRUE(InstanceLockFile(folders).anotherInstanceRunning());
  first.reset();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = inChild(
      geteuid(), [&] { return (new InstanceLockFile(folders))->anotherInstanceRunning(); },
      &ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_TRUE(InstanceLockFile(folders).anotherInstanceRunning());
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(InstanceLockFile(folders).anotherInstanceRunning());
}

// One clock per user, whatever stands in the way; no other user can keep it from starting; and
// where no lock can be had at all it starts rather than never. The user is played by a second
// uid, so that folder permissions count as they do for a person.
TEST(InstanceLockFile, OneClockPerUserWhateverTheFoldersAreLike) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to play two other users";
  const uid_t user = 65534;
  const uid_t other = 65533;
  const std::string base = tempFolder();
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

  struct Case {
    const char* what;
    Folders folders;
    int expected;
  };
  const std::vector<Case> cases = {
      {"a folder in the lock file's place", {taken, shared}, 0},
      {"a read-only runtime folder", {readOnly, shared, cache}, 0},
      {"another user's runtime folder", {othersRuntime, shared, cache}, 0},
      {"a runtime folder anyone may write", {writableByAll, shared, cache}, 0},
      {"no lock anywhere", {readOnly, othersRuntime}, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(exitStatus(inChild(user, [&] { return clocksWith(c.folders); })), c.expected)
        << c.what;
  }

  // Another user got to the shared folder first and holds a lock in it.
  const std::string squatted = folder("squatted", 0777, other);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t squatter = inChild(
      other,
      [&] {
        const int fd = open((squatted + "/lurvendel.lock").c_str(), O_RDWR | O_CREAT, 0666);
        return flock(fd, LOCK_EX);
      },
      &ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_EQ(exitStatus(inChild(user,
                               [&] {
                                 return clocksWith({squatted, cache});
                               })),
            0)
      << "another user's lock in the shared folder";
  kill(squatter, SIGKILL);
  waitpid(squatter, nullptr, 0);
}
