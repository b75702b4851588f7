// The stock detail's two frame times: from a detail answer arriving (two
// chart pictures from the reference server, 60 daily rows) to the painted
// and composed portrait frame, and from the landscape command to the painted
// landscape frame. Runs on the headless display.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/detail/stock_detail_dlg.h"
#include "bench/viewer_stage.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "protocol/app_messages.h"

namespace brantel {
namespace {

struct Stage {
  testing::TempDataFolder home{"brantel-detail-bench"};
  testing::QuoteServerProcess server{{"--fixed-clock", "2026-12-07 10:56"}};
  Window owner;
  std::unique_ptr<CMStockDetailDlg> detail;
  DetailAnswer answer;
  std::vector<std::string> chart_bytes;
  Surface frame;
  bool ready = false;

  Stage() {
    if (!PrepareViewerStage(home, server)) return;
    if (!StartDisplayWith(std::make_unique<HeadlessBackend>(), true)) return;
    owner.Create(u"BenchScreen", u"", WS_VISIBLE, Rect{0, 52, 480, 800});
    // The real answer once, its pictures kept as bytes; 60 daily rows.
    if (FetchDetail(u"005930", 1, u"0", 4, owner.hwnd(), answer) != 1 || answer.attachments.size() < 2) return;
    for (const WideText& path : answer.attachments) {
      std::string bytes;
      ReadWholeFile(Narrow(path), bytes);
      chart_bytes.push_back(bytes);
    }
    const std::vector<StockRecord> twenty = answer.daily;
    while (answer.daily.size() < 60) answer.daily.insert(answer.daily.end(), twenty.begin(), twenty.end());
    answer.daily.resize(60);
    // No code: the detail's own timer asks nothing, the benchmark feeds it.
    detail = std::make_unique<CMStockDetailDlg>(ProcessResources(), &owner);
    detail->SetRecord(StockDetailRecord{}, false);
    ready = detail->Open();
    PumpPendingMessages();
  }
  ~Stage() {
    if (detail) detail->Destroy();
    detail.reset();
    StopDisplay();
    SetProcessResourcesForTesting(nullptr);
    SetProgramFolderForTesting("");
  }
  void WriteCharts() {
    for (size_t i = 0; i < chart_bytes.size(); ++i) WriteFileAtomically(Narrow(answer.attachments[i]), chart_bytes[i]);
  }
  void PaintFrame() {
    detail->Update();
    detail->panel().Update();
    CopyScreen(frame);
  }
};

Stage& TheStage() {
  static Stage stage;
  return stage;
}

void BM_AnswerToPortraitFrame(benchmark::State& state) {
  Stage& s = TheStage();
  if (!s.ready) return state.SkipWithError("no reference server, resources or display");
  for (auto _ : state) {
    state.PauseTiming();
    s.WriteCharts();
    state.ResumeTiming();
    s.detail->ReceiveAnswer(s.answer);
    s.PaintFrame();
  }
}
BENCHMARK(BM_AnswerToPortraitFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LandscapeSwitchToFrame(benchmark::State& state) {
  Stage& s = TheStage();
  if (!s.ready) return state.SkipWithError("no reference server, resources or display");
  s.WriteCharts();
  s.detail->ReceiveAnswer(s.answer);
  s.PaintFrame();
  for (auto _ : state) {
    s.detail->Send(WM_COMMAND, kCmdLandscape, 0);
    s.PaintFrame();
    state.PauseTiming();
    s.detail->Send(WM_ROTATION_CHANGED, 0, kRotationChangedTag);
    s.PaintFrame();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LandscapeSwitchToFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace brantel

BENCHMARK_MAIN();
