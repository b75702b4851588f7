#include "platform/process/published_windows.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "platform/folders.h"
#include "platform/process/process_launcher.h"
#include "platform/process/process_liveness.h"

namespace brantel {

namespace {

constexpr std::string_view kEntryPrefix = "window-";
constexpr std::string_view kEntrySuffix = ".entry";
constexpr size_t kMaxEntryBytes = 64 * 1024;

std::string EntryPath(WindowHandle hwnd) {
  char name[64];
  std::snprintf(name, sizeof name, "window-%d-%08" PRIx32 ".entry", WindowHandleProcessId(hwnd), uint32_t(hwnd));
  return RunFolder() + name;
}

// Values are kept on one line each: line breaks and "%" are escaped.
std::string Escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '%' || c == '\n' || c == '\r') {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", unsigned(uint8_t(c)));
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(uint8_t(s[i + 1])) && std::isxdigit(uint8_t(s[i + 2]))) {
      out += char(std::strtol(std::string(s.substr(i + 1, 2)).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

struct Entry {
  PublishedWindow window;
  uint64_t start_time = 0;
  bool has_start_time = false;
};

std::optional<Entry> ReadEntry(const std::string& path) {
  std::string text;
  if (!ReadWholeFile(path, text, kMaxEntryBytes)) return std::nullopt;
  Entry e;
  bool has_hwnd = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    if (nl == std::string::npos) nl = text.size();
    const std::string_view line(text.data() + pos, nl - pos);
    pos = nl + 1;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
    const std::string v(value);
    if (key == "hwnd") {
      e.window.hwnd = std::strtoull(v.c_str(), nullptr, 10);
      has_hwnd = true;
    } else if (key == "start") {
      e.start_time = std::strtoull(v.c_str(), nullptr, 10);
      e.has_start_time = true;
    } else if (key == "class") {
      e.window.class_name = Widen(Unescape(value));
    } else if (key == "title") {
      e.window.title = Widen(Unescape(value));
    }
  }
  if (!has_hwnd || WindowHandleProcessId(e.window.hwnd) <= 0) return std::nullopt;
  e.window.pid = WindowHandleProcessId(e.window.hwnd);
  return e;
}

bool IsEntryName(std::string_view name) {
  return name.size() > kEntryPrefix.size() + kEntrySuffix.size() && name.substr(0, kEntryPrefix.size()) == kEntryPrefix &&
         name.substr(name.size() - kEntrySuffix.size()) == kEntrySuffix;
}

}  // namespace

std::string RunFolder() {
  std::string dir = JoinPath(DataFolder(), "run/");
  CreateFoldersAlong(dir);
  return dir;
}

bool PublishWindow(WindowHandle hwnd, WideView class_name, WideView title) {
  const int pid = WindowHandleProcessId(hwnd);
  if (pid <= 0) return false;
  std::string text = "hwnd=" + std::to_string(hwnd) + "\npid=" + std::to_string(pid) + "\n";
  if (auto start = ProcessStartTime(pid)) text += "start=" + std::to_string(*start) + "\n";
  text += "class=" + Escape(Narrow(class_name)) + "\ntitle=" + Escape(Narrow(title)) + "\n";
  return WriteFileAtomically(EntryPath(hwnd), text);
}

void UnpublishWindow(WindowHandle hwnd) { unlink(EntryPath(hwnd).c_str()); }

std::vector<PublishedWindow> PublishedWindows() {
  const std::string dir = RunFolder();
  struct Found {
    int64_t mtime_ns;
    std::string name;
    PublishedWindow window;
  };
  std::vector<Found> found;
  DIR* d = opendir(dir.c_str());
  if (!d) return {};
  while (dirent* ent = readdir(d)) {
    const std::string name = ent->d_name;
    if (!IsEntryName(name)) continue;
    const std::string path = dir + name;
    auto entry = ReadEntry(path);
    if (!entry) continue;  // being written, or not ours to judge
    const auto start = entry->has_start_time ? std::optional<uint64_t>(entry->start_time) : std::nullopt;
    if (!IsProcessAlive(entry->window.pid, start)) {
      unlink(path.c_str());
      // The socket too, unless the id now belongs to a live process.
      if (!IsProcessAlive(entry->window.pid)) unlink((dir + std::to_string(entry->window.pid) + ".sock").c_str());
      continue;
    }
    struct stat st{};
    stat(path.c_str(), &st);
    found.push_back({int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, name, entry->window});
  }
  closedir(d);
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.mtime_ns != b.mtime_ns ? a.mtime_ns < b.mtime_ns : a.name < b.name;
  });
  std::vector<PublishedWindow> out;
  for (auto& f : found) out.push_back(std::move(f.window));
  return out;
}

std::optional<PublishedWindow> FindPublishedWindow(WideView class_name, WideView title, bool include_own) {
  const int self = getpid();
  for (auto& w : PublishedWindows()) {
    if (!include_own && w.pid == self) continue;
    if (!class_name.empty() && w.class_name != class_name) continue;
    if (!title.empty() && w.title != title) continue;
    return w;
  }
  return std::nullopt;
}

bool TerminateWindowProcess(WindowHandle hwnd, uint32_t grace_ms) {
  return TerminateProgram(WindowHandleProcessId(hwnd), grace_ms);
}

}  // namespace brantel
