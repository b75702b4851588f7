// What a program with a window costs while it sits idle: CPU time (utime +
// stime of every thread, from /proc/PID/stat), wake-ups (voluntary and
// involuntary context switches summed over /proc/PID/task/*/status) and
// resident memory (VmRSS, VmHWM). Each program runs headless in a fresh data
// folder, settles for a few seconds, and is then watched for
// BRANTEL_IDLE_SECONDS (default 10).
//
// The programs: brantel-gallery on its first page, and StockUpdater on its
// Yes/No question. BRANTEL_IDLE_PROGRAMS adds others: command lines
// separated by ';', words by spaces, e.g.
//   BRANTEL_IDLE_PROGRAMS="build/bin/BrantelStock --headless" bench/run platform_idle
// Each thread's wake-ups are printed to stderr, to find the one that wakes.
// Under a display (e.g. xvfb-run) "brantel-gallery --sdl" measures the window.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/updater/file_server.h"

namespace {

using namespace brantel;

struct Sample {
  double cpu_seconds = 0;
  std::map<int, long long> switches;  // per thread id
  std::map<int, std::string> names;
  double rss_mb = 0, hwm_mb = 0;
};

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

long long StatusField(const std::string& status, const std::string& field) {
  const size_t at = status.find(field + ":");
  return at == std::string::npos ? 0 : std::atoll(status.c_str() + at + field.size() + 1);
}

Sample Take(int pid) {
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

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

int Launch(const std::vector<std::string>& args, const std::string& home) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setenv("BRANTEL_HOME", home.c_str(), 1);
  setenv("BRANTEL_DISPLAY", "headless", 1);
  freopen("/dev/null", "w", stdout);
  freopen("/dev/null", "w", stderr);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

void End(int pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 50; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

int IdleSeconds() {
  const char* s = std::getenv("BRANTEL_IDLE_SECONDS");
  return s && std::atoi(s) > 0 ? std::atoi(s) : 10;
}

// Runs `args` idle and reports its costs.
void MeasureIdle(benchmark::State& state, std::vector<std::string> args) {
  const testing::TempFolder home("brantel-idle");
  const int seconds = IdleSeconds();
  for (auto _ : state) {
    const int pid = Launch(args, home.path());
    std::this_thread::sleep_for(std::chrono::seconds(3));  // start-up and first paint
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      state.SkipWithError("the program ended before it went idle");
      return;
    }
    const Sample before = Take(pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const Sample after = Take(pid);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    End(pid);
    state.SetIterationTime(elapsed);

    long long wakes = 0;
    std::fprintf(stderr, "%s: wake-ups per thread over %.1f s\n", args[0].c_str(), elapsed);
    for (const auto& [tid, n] : after.switches) {
      const auto it = before.switches.find(tid);
      const long long grew = n - (it == before.switches.end() ? 0 : it->second);
      wakes += grew;
      std::fprintf(stderr, "  %d %-16s %lld\n", tid, after.names.at(tid).c_str(), grew);
    }
    state.counters["cpu_percent"] = 100.0 * (after.cpu_seconds - before.cpu_seconds) / elapsed;
    state.counters["wakes_per_s"] = double(wakes) / elapsed;
    state.counters["threads"] = double(after.switches.size());
    state.counters["rss_mb"] = after.rss_mb;
    state.counters["hwm_mb"] = after.hwm_mb;
  }
}

void Register(const std::string& name, std::vector<std::string> args) {
  benchmark::RegisterBenchmark(name.c_str(), [args](benchmark::State& state) { MeasureIdle(state, args); })
      ->Iterations(1)
      ->UseManualTime()
      ->Unit(benchmark::kSecond);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string bin = BRANTEL_BIN_DIR;
  Register("idle/brantel-gallery", {bin + "/brantel-gallery", "--headless"});

  // The updater asks before it updates: a release with the ask-first option
  // served on loopback keeps it on its question.
  const testing::TempFolder site("brantel-idle-site");
  std::filesystem::create_directories(site / "viewer");
  testing::WriteFile(site / "www/part.bin", "x");
  testing::FileServer server(site.path() + "/www");
  testing::WriteFile(site / "www/m.xml",
                     "<u><head update_date=\"9\" update_option=\"/q\" alert=\"[title]Update[/title][message]Now?"
                     "[/message]\"/><body><update_file name=\"part.bin\"><file_Info down_url=\"" +
                         server.url("/part.bin") +
                         "\" local_path=\"\\TARGET-DIRECTORY\\part.bin\" file_size=\"1\" file_version=\"1\"/>"
                         "</update_file></body></u>");
  Register("idle/StockUpdater", {bin + "/StockUpdater", "--headless", site / "viewer/" + "|" + server.url("/m.xml")});

  if (const char* extra = std::getenv("BRANTEL_IDLE_PROGRAMS")) {
    std::istringstream lines(extra);
    for (std::string line; std::getline(lines, line, ';');) {
      std::vector<std::string> args = Words(line);
      if (args.empty()) continue;
      std::string name = "idle/" + std::filesystem::path(args[0]).filename().string();
      for (size_t i = 1; i < args.size(); ++i) name += " " + args[i];
      Register(name, args);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
