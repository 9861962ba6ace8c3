#include "platform/posix/instance_lock_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string tempLockPath() {
  char dir[] = "/tmp/lurvendel-lock-XXXXXX";
  return std::string(mkdtemp(dir)) + "/lurvendel.lock";
}

}  // namespace

TEST(InstanceLockFile, OnlyTheFirstHolderRunsUntilItGoes) {
  const std::string path = tempLockPath();
  auto first = std::make_unique<InstanceLockFile>(path);
  EXPECT_FALSE(first->anotherInstanceRunning());
  EXPECT_FALSE(first->anotherInstanceRunning());
  EXPECT_TRUE(InstanceLockFile(path).anotherInstanceRunning());
  first.reset();
  EXPECT_FALSE(InstanceLockFile(path).anotherInstanceRunning());
}

TEST(InstanceLockFile, AKilledHolderLeavesNoStaleLock) {
  const std::string path = tempLockPath();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstanceLockFile lock(path);
    const char held = lock.anotherInstanceRunning() ? 'n' : 'y';
    if (write(ready[1], &held, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  char held = 0;
  ASSERT_EQ(read(ready[0], &held, 1), 1);
  EXPECT_EQ(held, 'y');
  EXPECT_TRUE(InstanceLockFile(path).anotherInstanceRunning());

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(InstanceLockFile(path).anotherInstanceRunning());
}

TEST(InstanceLockFile, AnUnusableLockPlaceDoesNotKeepTheClockFromStarting) {
  EXPECT_FALSE(InstanceLockFile("/nonexistent-dir/lurvendel.lock").anotherInstanceRunning());
}
