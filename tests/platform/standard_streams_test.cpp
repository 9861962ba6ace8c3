#include "platform/posix/standard_streams.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Started with its standard streams closed, the program has them on /dev/null before it opens
// anything else, which then gets a number of its own; streams that are open stay as they are.
TEST(StandardStreams, ClosedOnesAreOpenedOnDevNullAndOpenOnesKept) {
  const pid_t child = fork();
  if (child == 0) {
    const int kept = dup(STDOUT_FILENO);
    close(STDIN_FILENO);
    dup2(kept, STDOUT_FILENO);
    close(STDERR_FILENO);
    openClosedStandardStreams();
    struct stat null {};
    struct stat in {};
    struct stat out {};
    struct stat err {};
    struct stat was {};
    stat("/dev/null", &null);
    const bool ok = fstat(STDIN_FILENO, &in) == 0 && in.st_rdev == null.st_rdev &&
                    fstat(STDERR_FILENO, &err) == 0 && err.st_rdev == null.st_rdev &&
                    fstat(STDOUT_FILENO, &out) == 0 && fstat(kept, &was) == 0 &&
                    out.st_ino == was.st_ino && open("/dev/null", O_RDONLY) > STDERR_FILENO;
    _exit(ok ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
}
