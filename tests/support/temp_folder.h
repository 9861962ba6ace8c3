#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// A private folder under /tmp for one test, removed with all it holds when the test is done.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix) : path_(make(prefix)) {}
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  static std::string make(const std::string& prefix) {
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    return mkdtemp(pattern.data());
  }
  std::string path_;
};
