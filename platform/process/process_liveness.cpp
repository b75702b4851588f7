#include "platform/process/process_liveness.h"

#include <signal.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace brantel {

namespace {

struct StatFields {
  char state = '?';
  uint64_t start_time = 0;
};

// Files under /proc report a size of 0, so they are read until the end.
bool ReadProcFile(const std::string& path, std::string* text) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0 && text->size() < 65536) text->append(buf, size_t(n));
  close(fd);
  return !text->empty();
}

std::optional<StatFields> ReadStat(int pid) {
  std::string text;
  if (pid <= 0 || !ReadProcFile("/proc/" + std::to_string(pid) + "/stat", &text)) return std::nullopt;
  // The command name is in parentheses and may hold anything, so the fields
  // are counted from the last ')'.
  const size_t close = text.rfind(')');
  if (close == std::string::npos || close + 2 >= text.size()) return std::nullopt;
  StatFields out;
  out.state = text[close + 2];
  size_t pos = close + 2;
  for (int field = 3; field < 22; ++field) {
    pos = text.find(' ', pos);
    if (pos == std::string::npos) return std::nullopt;
    ++pos;
  }
  out.start_time = std::strtoull(text.c_str() + pos, nullptr, 10);
  return out;
}

}  // namespace

std::optional<uint64_t> ProcessStartTime(int pid) {
  auto stat = ReadStat(pid);
  if (!stat) return std::nullopt;
  return stat->start_time;
}

bool IsProcessAlive(int pid, std::optional<uint64_t> start_time) {
  if (pid <= 0) return false;
  if (kill(pid, 0) != 0 && errno != EPERM) return false;
  auto stat = ReadStat(pid);
  if (!stat) return false;
  if (stat->state == 'Z' || stat->state == 'X') return false;
  return !start_time || *start_time == stat->start_time;
}

}  // namespace brantel
