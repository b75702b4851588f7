#pragma once
// What a running process costs, read from its own counters in /proc: CPU
// time (utime + stime of every thread), wake-ups (voluntary and involuntary
// context switches of every thread) and resident memory (VmRSS, VmHWM).
// Two samples apart give the cost over the time between them.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace brantel {

struct Sample {
  double cpu_seconds = 0;
  std::map<int, long long> switches;  // per thread id
  std::map<int, std::string> names;
  double rss_mb = 0, hwm_mb = 0;
};

inline std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline long long StatusField(const std::string& status, const std::string& field) {
  const size_t at = status.find(field + ":");
  return at == std::string::npos ? 0 : std::atoll(status.c_str() + at + field.size() + 1);
}

inline Sample Take(int pid) {
  Sample s;
  // Fields 14 and 15 of stat (after the parenthesised name) are utime and stime.
  const std::string stat = FileText("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = stat.rfind(')');
  if (close != std::string::npos) {
    std::istringstream fields(stat.substr(close + 2));
    std::string f;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i) {
      if (i == 14) utime = std::atoll(f.c_str());
      if (i == 15) stime = std::atoll(f.c_str());
    }
    s.cpu_seconds = double(utime + stime) / double(sysconf(_SC_CLK_TCK));
  }
  const std::string task_dir = "/proc/" + std::to_string(pid) + "/task";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(task_dir, ec)) {
    const std::string status = FileText(entry.path().string() + "/status");
    if (status.empty()) continue;  // ended meanwhile
    const int tid = std::atoi(entry.path().filename().c_str());
    s.switches[tid] = StatusField(status, "voluntary_ctxt_switches") + StatusField(status, "nonvoluntary_ctxt_switches");
    std::string name = FileText(entry.path().string() + "/comm");
    if (!name.empty() && name.back() == '\n') name.pop_back();
    s.names[tid] = name;
  }
  const std::string status = FileText("/proc/" + std::to_string(pid) + "/status");
  s.rss_mb = StatusField(status, "VmRSS") / 1024.0;
  s.hwm_mb = StatusField(status, "VmHWM") / 1024.0;
  return s;
}

// Context switches of every thread between two samples; a thread that
// started meanwhile counts from zero.
inline long long Wakeups(const Sample& before, const Sample& after) {
  long long wakes = 0;
  for (const auto& [tid, n] : after.switches) {
    const auto it = before.switches.find(tid);
    wakes += n - (it == before.switches.end() ? 0 : it->second);
  }
  return wakes;
}

// How long an idle program is watched: BRANTEL_IDLE_SECONDS, default 10.
inline int IdleSecondsFromEnv() {
  const char* s = std::getenv("BRANTEL_IDLE_SECONDS");
  return s && std::atoi(s) > 0 ? std::atoi(s) : 10;
}

}  // namespace brantel
