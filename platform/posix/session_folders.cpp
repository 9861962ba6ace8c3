#include "platform/posix/session_folders.h"

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool ownFolder(const std::string& path, struct stat& folder) {
  return lstat(path.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) && folder.st_uid == geteuid();
}

}  // namespace

std::vector<std::string> sessionFolders() {
  const std::string user = std::to_string(geteuid());
  std::vector<std::string> folders;
  if (const std::string runtime = environment("XDG_RUNTIME_DIR"); !runtime.empty()) {
    folders.push_back(runtime);
  }
  // Made by logind, never by the clock.
  struct stat folder {};
  if (ownFolder("/run/user/" + user, folder)) folders.push_back("/run/user/" + user);
  folders.push_back("/tmp/lurvendel-" + user);
  const std::string cache = environment("XDG_CACHE_HOME");
  const std::string home = environment("HOME");
  if (!cache.empty()) {
    folders.push_back(cache + "/lurvendel");
  } else if (!home.empty()) {
    folders.push_back(home + "/.cache/lurvendel");
  }
  folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
  return folders;
}

bool privateFolder(const std::string& path, bool make) {
  if (path.empty() || path.front() != '/') return false;
  if (make) {
    mkdir(path.substr(0, path.rfind('/')).c_str(), 0700);
    mkdir(path.c_str(), 0700);
  }
  struct stat folder {};
  return ownFolder(path, folder) && (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string voiceFolder() {
  // Only an absolute XDG_DATA_HOME counts; a relative one is to be ignored.
  const std::string data = environment("XDG_DATA_HOME");
  const std::string base = data.starts_with('/') ? data : environment("HOME") + "/.local/share";
  return base + "/lurvendel/stimme";
}
