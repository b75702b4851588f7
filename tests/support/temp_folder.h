#pragma once
// Fresh temporary folders for tests, removed with everything in them, and
// whole-file reading and writing.
//   TempFolder      a folder and nothing more.
//   TempDataFolder  a folder that BRANTEL_HOME points at while it lives; the
//                   value before it is put back afterwards, so one may nest.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/folders.h"

namespace brantel::testing {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "brantel-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

class TempDataFolder {
 public:
  explicit TempDataFolder(const std::string& prefix = "brantel-home") : folder_(prefix) {
    const char* before = std::getenv("BRANTEL_HOME");
    had_before_ = before != nullptr;
    if (before) before_ = before;
    setenv("BRANTEL_HOME", folder_.path().c_str(), 1);
  }
  ~TempDataFolder() {
    if (had_before_) {
      setenv("BRANTEL_HOME", before_.c_str(), 1);
    } else {
      unsetenv("BRANTEL_HOME");
    }
  }
  TempDataFolder(const TempDataFolder&) = delete;
  TempDataFolder& operator=(const TempDataFolder&) = delete;

  const std::string& path() const { return folder_.path(); }
  const std::string& Path() const { return folder_.path(); }
  std::string File(const std::string& name) const { return JoinPath(folder_.path(), name); }

 private:
  TempFolder folder_;
  bool had_before_ = false;
  std::string before_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace brantel::testing
