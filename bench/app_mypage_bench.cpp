// The MyPage screen with 200 watch-list entries: a reload from the cache to
// the painted list (read the cache, build the rows, paint the list), and a
// refresh answer of 200 rows to the painted list (build the rows, paint).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/mypage/mypage_dlg.h"
#include "cache/cache_tables.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

constexpr int kEntries = 200;

// 200 entries over the five categories, as a full watch list holds them.
std::vector<StockRecord> SampleEntries(int price_offset) {
  std::vector<StockRecord> out;
  for (int i = 0; i < kEntries; ++i) {
    StockRecord r;
    r.gubun = 1 + i * 5 / kEntries;
    r.code = Widen(std::string("C").append(std::to_string(100000 + i)));
    r.item = u"0";
    r.codename = Widen("관심종목 " + std::to_string(i));
    r.current_price = Widen(std::to_string(10000 + i * 37 + price_offset));
    r.daebi = Widen(std::to_string((i % 7) * 10 - 30));
    r.rate = u"0.25";
    r.date = u"12/04";
    out.push_back(std::move(r));
  }
  return out;
}

struct Screen {
  testing::TempDataFolder home{"brantel-mypage-bench"};
  Window main;
  CMyPageDlg screen{&main};

  Screen() {
    SetProcessResourcesForTesting(ResourceLibrary::Load(BRANTEL_BIN_DIR "/stock_resource.so"));
    EnsureMyPageTable();
    EnsureQuoteTable(kQuoteTableName);
    const std::vector<StockRecord> entries = SampleEntries(0);
    StoreQuoteList(kQuoteTableName, entries, u"20261204153000");
    StoreMyPageList(entries, u"20261204153000", true);
    StartDisplayWith(std::make_unique<HeadlessBackend>(), true);
    main.Create(u"BenchMain", u"", WS_VISIBLE, GetWorkArea());
    screen.Create(Rect{0, 88, 480, main.ClientRect().Height()});
    screen.Show(SW_SHOW);
  }
  ~Screen() {
    screen.Destroy();
    main.Destroy();
    StopDisplay();
    SetProcessResourcesForTesting(nullptr);
  }
  void Paint() {
    screen.list().body().Invalidate();
    screen.list().body().Update();
  }
  static constexpr const char* kQuoteTableName = "StockData";
};

template <typename Step>
void Measure(benchmark::State& state, Step step) {
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    step();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["max_ms"] = ms.back();
}

void BM_ReloadFromCacheToPaintedList(benchmark::State& state) {
  Screen s;
  Measure(state, [&] {
    // The reload timer's work: the cache, the stamp, the rows; then the paint.
    s.screen.Send(WM_TIMER, kMyPageReloadTimer);
    s.screen.KillTimer(kMyPageNetworkTimer);
    s.Paint();
  });
  if (s.screen.list().body().RowCount() != kEntries + 5) state.SkipWithError("the list is not full");
}
BENCHMARK(BM_ReloadFromCacheToPaintedList)->Iterations(50)->Unit(benchmark::kMillisecond);

void BM_RefreshAnswerToPaintedList(benchmark::State& state) {
  Screen s;
  const std::vector<StockRecord> answers[2] = {SampleEntries(5), SampleEntries(9)};
  int n = 0;
  Measure(state, [&] {
    s.screen.Fill(answers[n++ % 2], false);
    s.Paint();
  });
  if (s.screen.list().body().RowCount() != kEntries + 5) state.SkipWithError("the list is not full");
}
BENCHMARK(BM_RefreshAnswerToPaintedList)->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brantel

BENCHMARK_MAIN();
