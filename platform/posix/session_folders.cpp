#include "platform/posix/session_folders.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::vector<std::string> sessionFolders() {
  std::vector<std::string> folders;
  if (const std::string runtime = environment("XDG_RUNTIME_DIR"); !runtime.empty()) {
    folders.push_back(runtime);
  }
  folders.push_back("/tmp/lurvendel-" + std::to_string(geteuid()));
  const std::string cache = environment("XDG_CACHE_HOME");
  const std::string home = environment("HOME");
  if (!cache.empty()) {
    folders.push_back(cache + "/lurvendel");
  } else if (!home.empty()) {
    folders.push_back(home + "/.cache/lurvendel");
  }
  return folders;
}

bool privateFolder(const std::string& path, bool make) {
  if (path.empty() || path.front() != '/') return false;
  if (make) {
    mkdir(path.substr(0, path.rfind('/')).c_str(), 0700);
    mkdir(path.c_str(), 0700);
  }
  struct stat folder {};
  return lstat(path.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) &&
         folder.st_uid == geteuid() && (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}
