// The viewer after the whole product tour (scripts/viewer-tour.txt: every
// screen, the market lists, search, the editor, a message, the detail in
// both orientations), played headless on the reference server as the run
// command plays it: resident memory once it is back on MyPage (VmRSS, and
// the peak VmHWM over the tour), then its idle cost there over
// BRANTEL_IDLE_SECONDS (default 10): CPU and wake-ups of every thread.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <thread>

#include "bench/process_counters.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/run_command.h"
#include "tests/support/viewer_process.h"

namespace {

using namespace brantel;
using testing::QuoteServerProcess;
using testing::ReadFile;
using testing::RunCommand;
using testing::ViewerProcess;

const std::string kBin = BRANTEL_BIN_DIR;

// Waits up to two minutes for the viewer to write `path`; false when it
// ended or did not write it in time.
bool WaitForFile(ViewerProcess& viewer, const std::string& path) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  testing::ViewerRun run;
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > end || viewer.Ended(run)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

// The tour with its screenshots in `folder`, ending on MyPage without quitting.
std::string TourScript(const std::string& folder) {
  std::string tour = ReadFile(std::string(BRANTEL_SOURCE_DIR) + "/scripts/viewer-tour.txt");
  tour = std::regex_replace(tour, std::regex("^screenshot ", std::regex::multiline), "screenshot " + folder + "/");
  return std::regex_replace(tour, std::regex("^quit$", std::regex::multiline),
                            "screenshot " + folder + "/tour-end.png");  // the viewer goes on when the script ends
}

void BM_AfterTheTour(benchmark::State& state) {
  QuoteServerProcess server({"--fixed-clock", "2026-12-07 10:56"});
  if (!server.started()) return state.SkipWithError(server.why_not().c_str());
  for (auto _ : state) {
    ViewerProcess viewer;  // its data folder is this process's BRANTEL_HOME meanwhile
    viewer.PointAt(server.port());
    const std::string quote = kBin + "/brantel-quote --server 127.0.0.1:" + std::to_string(server.port());
    for (const char* entry : {"005930", "000660", "KOSPI --category 2 --group 0", "FX@USD --category 3 --group 0",
                              "CLWTI --category 5 --group 0"})
      if (RunCommand(quote + " mypage add " + entry).exit_code != 0) return state.SkipWithError("MyPage not seeded");
    const std::string shots = viewer.File("");
    viewer.SetScript(TourScript(shots));
    if (!viewer.Start()) return state.SkipWithError("the viewer did not start");

    // As in the run command: the data connection goes away once the editor
    // shows, so the refresh asks message 111, and comes back once it shows.
    const std::string device = "'HKLM\\SOFTWARE\\BRANTEL\\Device'";
    if (WaitForFile(viewer, shots + "viewer-11-mypage-editor.png"))
      RunCommand(kBin + "/brantel-reg set " + device + " DataConnection REG_DWORD 0");
    if (WaitForFile(viewer, shots + "viewer-13-message.png"))
      RunCommand(kBin + "/brantel-reg delete " + device + " DataConnection");
    if (!WaitForFile(viewer, shots + "tour-end.png"))
      return state.SkipWithError(("the tour did not end; the viewer said: " + viewer.Log()).c_str());
    std::this_thread::sleep_for(std::chrono::seconds(2));  // the refresh after the detail settles

    const Sample before = Take(viewer.pid());
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(IdleSecondsFromEnv()));
    const Sample after = Take(viewer.pid());
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    testing::ViewerRun run;
    if (viewer.Ended(run)) return state.SkipWithError("the viewer ended while idle");
    viewer.Kill();
    state.SetIterationTime(elapsed);
    state.counters["rss_mb"] = before.rss_mb;
    state.counters["hwm_mb"] = after.hwm_mb;
    state.counters["cpu_percent"] = 100.0 * (after.cpu_seconds - before.cpu_seconds) / elapsed;
    state.counters["wakes_per_s"] = double(Wakeups(before, after)) / elapsed;
    state.counters["threads"] = double(after.switches.size());
  }
}
BENCHMARK(BM_AfterTheTour)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
