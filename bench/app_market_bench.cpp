// The ranking list over a 3,000-row answer of the reference server: from the
// answer's rows in hand to the painted list (rows built with their sections,
// stars looked up in the watch list, laid out, painted through the window
// system), and the list window's memory for those rows. Runs headless.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <thread>

#include "app/market/market_list_windows.h"
#include "bench/viewer_stage.h"
#include "cache/cache_tables.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"

namespace brantel {
namespace {

// Keeps the rows of the real answer for the measured refills.
class RankingWindow : public CMarketStockItemWnd {
 public:
  void ReceiveRows(std::vector<StockRecord>&& rows) override {
    answer = rows;
    CMarketStockItemWnd::ReceiveRows(std::move(rows));
  }
  std::vector<StockRecord> answer;
};

struct Stage {
  testing::TempDataFolder home{"brantel-market-bench"};
  testing::QuoteServerProcess server{{"--fixed-clock", "2026-12-07 10:56", "--ranking-rows", "0"}};
  Window owner;
  RankingWindow ranking;
  bool ready = false;

  Stage() {
    if (!PrepareViewerStage(home, server)) return;
    EnsureCacheTables();
    if (!StartDisplayWith(std::make_unique<HeadlessBackend>(), true)) return;
    owner.Create(u"BenchScreen", u"", WS_VISIBLE, Rect{0, 140, 480, 648});
    if (!ranking.Create(&owner, owner.ClientRect(), ProcessResources())) return;
    ranking.Show(SW_SHOW);
    if (FetchMarketList(ranking) != 1 || ranking.answer.size() != 3000) return;
    while (ranking.LoadedFromNetwork() == 0) PumpPendingMessages();  // the one save of the run
    PumpPendingMessages();
    ready = true;
  }
  ~Stage() {
    owner.Destroy();
    StopDisplay();
    SetProcessResourcesForTesting(nullptr);
    SetProgramFolderForTesting("");
  }
  void FillAndPaint() {
    std::vector<StockRecord> rows = ranking.answer;
    ranking.ReceiveRows(std::move(rows));
    ranking.list().body().Update();
  }
};

Stage& TheStage() {
  static Stage stage;
  return stage;
}

void BM_RankingAnswerToPaintedList(benchmark::State& state) {
  Stage& stage = TheStage();
  if (!stage.ready) {
    state.SkipWithError("no reference server, resources or answer");
    return;
  }
  for (auto _ : state) stage.FillAndPaint();
  state.counters["rows"] = double(stage.ranking.list().body().RowCount());
}
BENCHMARK(BM_RankingAnswerToPaintedList)->Unit(benchmark::kMillisecond)->Iterations(30);

// Heap bytes a list window holds for the 3,000 rows (the list's rows, cells,
// texts and keys), measured on a window of its own once its background save
// has ended; the painting buffers, which do not grow with the rows, are made
// before the count starts or not at all.
void BM_ListWindowMemory(benchmark::State& state) {
  Stage& stage = TheStage();
  if (!stage.ready) {
    state.SkipWithError("no reference server, resources or answer");
    return;
  }
  size_t bytes = 0;
  for (auto _ : state) {
    RankingWindow window;
    window.Create(&stage.owner, stage.owner.ClientRect(), ProcessResources());
    window.list().body().Update();
    std::vector<StockRecord> rows = stage.ranking.answer;
    const size_t empty = mallinfo2().uordblks;
    window.CMarketStockItemWnd::ReceiveRows(std::move(rows));
    while (window.LoadedFromNetwork() == 0) PumpPendingMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the save's copy is freed
    bytes = mallinfo2().uordblks - empty;
    window.Destroy();
  }
  state.counters["MB"] = double(bytes) / (1024.0 * 1024.0);
  state.counters["bytes_per_row"] = double(bytes) / 3000.0;
}
BENCHMARK(BM_ListWindowMemory)->Iterations(1);

}  // namespace
}  // namespace brantel

BENCHMARK_MAIN();
