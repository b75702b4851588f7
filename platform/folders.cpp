#include "platform/folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>

namespace brantel {

namespace {
std::mutex g_folder_mutex;
std::string g_program_folder_override;
}  // namespace

bool FolderWritableByUser(const std::string& folder) {
  struct stat st {};
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (st.st_uid == geteuid()) return (st.st_mode & S_IWUSR) != 0;
  if (st.st_gid == getegid()) return (st.st_mode & S_IWGRP) != 0;
  return (st.st_mode & S_IWOTH) != 0;
}

std::string ProgramFolder() {
  {
    std::lock_guard lock(g_folder_mutex);
    if (!g_program_folder_override.empty()) return g_program_folder_override;
  }
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  std::string path(buf, size_t(n));
  auto slash = path.rfind('/');
  path = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
  return path;
}

void SetProgramFolderForTesting(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  std::lock_guard lock(g_folder_mutex);
  g_program_folder_override = std::move(folder);
}

std::string DataFolder() {
  std::string dir;
  if (const char* home = std::getenv("BRANTEL_HOME"); home && *home) {
    dir = home;
  } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    dir = JoinPath(xdg, "brantel-stock");
  } else {
    const char* h = std::getenv("HOME");
    dir = JoinPath(JoinPath(h && *h ? h : "/tmp", ".local/share"), "brantel-stock");
  }
  if (dir.back() != '/') dir += '/';
  CreateFoldersAlong(dir);
  return dir;
}

std::string JoinPath(std::string_view base, std::string_view name) {
  std::string out(base);
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  if (!out.empty() && out.back() != '/') out += '/';
  out += name;
  return out;
}

std::string DevicePathToLinux(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

bool CreateFoldersAlong(std::string_view path, bool path_is_file) {
  std::string p(path);
  if (path_is_file) {
    auto slash = p.rfind('/');
    if (slash == std::string::npos) return true;
    p.resize(slash);
  }
  if (p.empty()) return true;
  for (size_t i = 1; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '/') {
      std::string part = p.substr(0, i);
      if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  return DirectoryExists(p);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// Repeats `step` (a read or write of what is left from `done` bytes on) until
// `size` bytes have moved, the file ends or an error comes; an interrupted
// call is retried. Returns how many bytes moved.
template <typename Step>
size_t MoveAllBytes(size_t size, Step&& step) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = step(done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += size_t(n);
  }
  return done;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out, size_t limit) {
  out.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || size_t(st.st_size) > limit) {
    close(fd);
    return false;
  }
  out.resize(size_t(st.st_size));
  const size_t got =
      MoveAllBytes(out.size(), [&](size_t done) { return read(fd, out.data() + done, out.size() - done); });
  close(fd);
  out.resize(got);
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // Each write gets its own temporary sibling: two threads replacing the
  // same file must never write into one temporary file at once.
  static std::atomic<uint64_t> serial{0};
  const std::string tmp = path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(serial.fetch_add(1));
  int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0 && errno == EEXIST) {
    // Left by an ended process that had our id.
    unlink(tmp.c_str());
    fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  }
  if (fd < 0) return false;
  const size_t done =
      MoveAllBytes(bytes.size(), [&](size_t at) { return write(fd, bytes.data() + at, bytes.size() - at); });
  bool ok = done == bytes.size() && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && rename(tmp.c_str(), path.c_str()) == 0) return true;
  unlink(tmp.c_str());
  return false;
}

}  // namespace brantel
