#pragma once
// A fresh data folder for one test: BRANTEL_HOME points at a new temporary
// directory while the object lives, and the directory is removed afterwards.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/folders.h"

namespace brantel::testing {

class TempDataFolder {
 public:
  TempDataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brantel-cache-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    path_ = made ? made : pattern;
    setenv("BRANTEL_HOME", path_.c_str(), 1);
  }
  ~TempDataFolder() {
    unsetenv("BRANTEL_HOME");
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return JoinPath(path_, name); }

 private:
  std::string path_;
};

}  // namespace brantel::testing
