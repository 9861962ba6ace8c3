#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/posix/posix_caller.h"
#include "platform/posix/posix_instance_lock.h"
#include "platform/posix/standard_streams.h"

namespace {

// The desktop clock that this command becomes where no clock runs: beside it in a build tree,
// in libexec/lurvendel beside its bin folder where it is installed.
std::string desktopClock() {
  char self[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  const std::string path(self, length > 0 ? static_cast<size_t>(length) : 0);
  const std::string folder = path.substr(0, path.rfind('/') + 1);
  const std::string beside = folder + "lurvendel-uhr";
  return access(beside.c_str(), X_OK) == 0 ? beside : folder + "../libexec/lurvendel/lurvendel-uhr";
}

}  // namespace

// The command a user, a key binding or a script runs. It asks the running clock, or prints, and
// loads no toolkit for that; only where it is to become the clock does it run the desktop clock
// in its place, which takes up the claim it holds.
int main(int argc, char** argv) {
  openClosedStandardStreams();
  const CommandLine line = parseCommandLine({argv + 1, argv + argc});
  PosixInstanceLock claim;
  if (const auto status = answerAsCaller(line, claim)) return *status;
  const std::string clock = desktopClock();
  claim.handOverAcrossExec();
  execv(clock.c_str(), argv);
  std::fprintf(stderr, "lurvendel: die Uhr lässt sich nicht starten (%s: %s)\n", clock.c_str(),
               std::strerror(errno));
  return 1;
}
