// The search screen over a master list of 10,000 entries: from one key (a
// typed character, a backspace, or a syllable update of a composition) to the
// result list painted, over many keys. Each key searches the master, looks
// the results up in MyPage and repaints the list.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/search/search_dlg.h"
#include "bench/bench_clock.h"
#include "cache/cache_tables.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/input_router.h"
#include "platform/ui/message_queue.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

constexpr int kEntries = 10000;

// 10,000 entries: codes 000000 upwards, Korean and Latin names in groups, so
// prefixes find from a few to more than 30 entries.
std::string MasterText() {
  static const char* const kHeads[] = {"삼성", "현대", "LG", "SK", "한화", "대한", "신한", "Korea", "동양", "미래"};
  static const char* const kTails[] = {"전자", "화학", "증권", "건설", "바이오", "Tech", "물산", "중공업"};
  std::string text;
  for (int i = 0; i < kEntries; ++i) {
    char code[8];
    std::snprintf(code, sizeof code, "%06d", i * 37 % 1000000);
    text += std::string(code) + "|" + kHeads[i % 10] + kTails[(i / 10) % 8] + std::to_string(i) + "|" +
            (i % 3 ? "KOSPI" : "KOSDAQ") + "|\n";
  }
  return text;
}

struct SearchScreen {
  testing::TempDataFolder home{"brantel-search-bench"};
  CParseMaster master;
  Window main;
  std::unique_ptr<CSearchDlg> screen;

  SearchScreen() {
    SetProgramFolderForTesting(home.path() + "/");
    SetProcessResourcesForTesting(ResourceLibrary::Load(std::string(BRANTEL_BIN_DIR) + "/stock_resource.so"));
    EnsureMyPageTable();
    EnsureQuoteTable("StockData");
    master.ParseText(MasterText());
    StartDisplayWith(std::make_unique<HeadlessBackend>(), true);
    main.Create(u"BenchMain", u"", WS_VISIBLE, Rect{0, 52, 480, 800});
    screen = std::make_unique<CSearchDlg>(&main, master);
    screen->Create(Rect{0, 88, 480, 748});
    screen->OnShownState(kScreenShown);
    screen->Show(SW_SHOW);
    PumpPendingMessages();
  }
  ~SearchScreen() {
    screen.reset();
    main.Destroy();
    StopDisplay();
    SetProcessResourcesForTesting(nullptr);
    SetProgramFolderForTesting("");
  }
  // Handles what the key posted and paints the list.
  void Settle() {
    PumpPendingMessages();
    screen->list().body().Update();
  }
};

void Report(benchmark::State& state, std::vector<double>& keys) {
  std::sort(keys.begin(), keys.end());
  state.counters["median_ms"] = keys[keys.size() / 2];
  state.counters["p99_ms"] = keys[keys.size() * 99 / 100];
  state.counters["max_ms"] = keys.back();
}

// Typing and erasing: "0", "00", "005", back, back, back, "s", "sk", back,
// back, "삼", "삼성", back, back (a typed syllable), over and over.
void BM_KeyToPaintedList(benchmark::State& state) {
  SearchScreen s;
  const std::u16string keys = u"005\b\b\bsk\b\b삼성\b\b";
  std::vector<double> times;
  size_t at = 0;
  for (auto _ : state) {
    const char16_t key = keys[at++ % keys.size()];
    const double start = ClockMs(CLOCK_MONOTONIC);
    RouteChar(key);
    s.Settle();
    times.push_back(ClockMs(CLOCK_MONOTONIC) - start);
  }
  state.counters["rows_last"] = s.screen->list().body().RowCount();
  Report(state, times);
}
BENCHMARK(BM_KeyToPaintedList)->Iterations(1400)->Unit(benchmark::kMillisecond);

// Composing 삼성 syllable by syllable: each update of the syllable on show
// searches the text with it.
void BM_CompositionUpdateToPaintedList(benchmark::State& state) {
  SearchScreen s;
  const char16_t first[] = {u'ㅅ', u'사', u'삼'};
  const char16_t second[] = {u'ㅅ', u'서', u'성'};
  std::vector<double> times;
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (step % 6 == 0) {
      RouteChar(u'\b');  // back to an empty edit
      RouteChar(u'\b');
      s.Settle();
      RouteCompositionStart();
    } else if (step % 6 == 3) {
      RouteCompositionResult(u"삼");
      RouteCompositionEnd();
      RouteCompositionStart();
      s.Settle();
    }
    state.ResumeTiming();
    const char16_t c = step % 6 < 3 ? first[step % 6] : second[step % 6 - 3];
    const double start = ClockMs(CLOCK_MONOTONIC);
    RouteCompositionUpdate(c);
    s.Settle();
    times.push_back(ClockMs(CLOCK_MONOTONIC) - start);
    if (step % 6 == 5) {
      RouteCompositionResult(u"성");
      RouteCompositionEnd();
      s.Settle();
    }
    ++step;
  }
  Report(state, times);
}
BENCHMARK(BM_CompositionUpdateToPaintedList)->Iterations(1200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brantel

BENCHMARK_MAIN();
