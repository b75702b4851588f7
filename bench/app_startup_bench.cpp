// Start-up of BrantelStock: from starting the process to the first frame it
// presents that shows MyPage (the loading dialog gone), headless, against the
// reference server on loopback. Measured with the frame log of the display
// (BRANTEL_FRAME_LOG), which stamps each presented frame with the monotonic
// clock this process also reads.
//   MasterUnchanged: the stored master list is current; the server sends no file.
//   FirstStart: a fresh data folder; the master list (3,000 entries) is
//               downloaded, parsed and installed.

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <thread>

#include "tests/support/quote_server_process.h"
#include "tests/support/viewer_process.h"

namespace {

using brantel::testing::QuoteServerProcess;
using brantel::testing::ReadFile;
using brantel::testing::ViewerProcess;

int64_t NowUs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// The stamp of the first logged frame with MyPage shown and no loading
// dialog, or -1.
int64_t FirstMyPageFrame(const std::string& log) {
  size_t pos = 0;
  while ((pos = log.find("frame ", pos)) != std::string::npos) {
    const int64_t stamp = std::stoll(log.substr(pos + 6, 24));
    const size_t end = log.find("--\n", pos);
    if (end == std::string::npos) return -1;
    const std::string tree = log.substr(pos, end - pos);
    const size_t mypage = tree.find("  CMyPageDlg id=104");
    const bool shown = mypage != std::string::npos &&
                       tree.substr(mypage, tree.find('\n', mypage) - mypage).find(" visible") != std::string::npos;
    const bool loading = tree.find("\nDialog id=0") != std::string::npos &&
                         tree.find("\"증권정보 NUV\"\n", tree.find("\nDialog id=0")) != std::string::npos &&
                         tree.find("Stock Help Page Window") == std::string::npos;
    if (shown && !loading) return stamp;
    pos = end;
  }
  return -1;
}

// One start: the microseconds from exec to the MyPage frame, or -1.
double TimeOneStart(ViewerProcess& viewer, int run) {
  const std::string log = viewer.File("frames-" + std::to_string(run) + ".log");
  viewer.SetEnv("BRANTEL_FRAME_LOG", log);
  viewer.SetScript("wait 20000\nquit\n");
  const int64_t started = NowUs();
  if (!viewer.Start()) return -1;
  int64_t frame = -1;
  for (int i = 0; i < 5000 && frame < 0; ++i) {
    frame = FirstMyPageFrame(ReadFile(log));
    if (frame < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  viewer.Kill();
  return frame < 0 ? -1 : double(frame - started);
}

QuoteServerProcess& Server() {
  static QuoteServerProcess server({"--fixed-clock", "2026-12-07 10:56"});
  return server;
}

void BM_StartupMasterUnchanged(benchmark::State& state) {
  if (!Server().started()) return state.SkipWithError(Server().why_not().c_str());
  ViewerProcess viewer;
  viewer.PointAt(Server().port());
  if (TimeOneStart(viewer, 0) < 0) return state.SkipWithError("the first start did not show MyPage");
  int run = 1;
  for (auto _ : state) {
    const double us = TimeOneStart(viewer, run++);
    if (us < 0) return state.SkipWithError("MyPage was not shown");
    state.SetIterationTime(us / 1e6);
  }
}
BENCHMARK(BM_StartupMasterUnchanged)->UseManualTime()->Iterations(1)->Repetitions(20)->Unit(benchmark::kMillisecond)
    ->ReportAggregatesOnly(true);

void BM_StartupFirstStart(benchmark::State& state) {
  if (!Server().started()) return state.SkipWithError(Server().why_not().c_str());
  for (auto _ : state) {
    auto viewer = std::make_unique<ViewerProcess>();
    viewer->PointAt(Server().port());
    const double us = TimeOneStart(*viewer, 0);
    if (us < 0) return state.SkipWithError("MyPage was not shown");
    state.SetIterationTime(us / 1e6);
  }
}
BENCHMARK(BM_StartupFirstStart)->UseManualTime()->Iterations(1)->Repetitions(20)->Unit(benchmark::kMillisecond)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
