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

#include "bench/process_counters.h"
#include "tests/support/temp_folder.h"
#include "tests/support/file_server.h"

namespace {

using namespace brantel;

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

// Runs `args` idle and reports its costs.
void MeasureIdle(benchmark::State& state, std::vector<std::string> args) {
  const testing::TempFolder home("brantel-idle");
  const int seconds = IdleSecondsFromEnv();
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

    const long long wakes = Wakeups(before, after);
    std::fprintf(stderr, "%s: wake-ups per thread over %.1f s\n", args[0].c_str(), elapsed);
    for (const auto& [tid, n] : after.switches) {
      const auto it = before.switches.find(tid);
      const long long grew = n - (it == before.switches.end() ? 0 : it->second);
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
