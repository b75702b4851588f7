// The list over 3,000 rows with section rows: CPU per frame while a flick
// coasts (each step of the inertial run painted through the window system:
// rows, separators, pinned section header, thumb, copy to the window), the
// cost of filling the list (building and adding 3,000 rows and laying them
// out), and the list's memory per row beyond its texts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/bench_clock.h"
#include "controls/mobile_list_ctrl.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "tests/support/sample_list_rows.h"

namespace brantel {
namespace {

constexpr int kRows = 3000;

struct ListWindow {
  Window owner;
  CMobileListCtrl body;

  ListWindow() {
    StartDisplayWith(std::make_unique<HeadlessBackend>(), true);
    owner.Create(u"BenchOwner", u"", WS_VISIBLE, Rect::FromSize(0, 52, 480, 748));
    body.Create(Rect{0, 0, 480, 748}, &owner, owner.hwnd(), nullptr);
    body.SetDefaultRowHeight(testing::kSampleRowHeight);
    body.SetSeparatorPen(0x585858, 1);
  }
  ~ListWindow() {
    owner.Destroy();
    StopDisplay();
  }
  void Fill() {
    body.Reset();
    for (auto& row : testing::SampleListRows(kRows)) body.AddRow(-1, std::move(row));
    body.RecomputeLayout();
  }
  void Frame() {
    body.Invalidate();
    body.Update();
  }
};

// A quick upward (or downward) flick of 200 pixels in 100 ms.
FlickRun StartFlick(CMobileListCtrl& body, bool up) {
  FlickingState& state = body.flicking();
  const Point from{240, up ? 600 : 300};
  const Point to{240, up ? 400 : 500};
  state.Press(from, 0);
  const Point points[] = {to};
  state.Move(points, 100);
  FlickAxisId axis;
  state.Release(to, 100, &axis);
  return FlickRun(state, FlickAxisId::kVertical, FlickRun::Kind::kInertial);
}

void BM_CoastingFrame(benchmark::State& state) {
  ListWindow list;
  list.Fill();
  list.body.SetVerticalPosition(20000);
  list.Frame();  // fonts opened, glyphs rendered
  std::vector<double> frames;
  bool up = true;
  auto run = std::make_unique<FlickRun>(StartFlick(list.body, up));
  for (auto _ : state) {
    int sleep = 0;
    if (!run->Tick(&sleep)) {
      up = !up;
      run = std::make_unique<FlickRun>(StartFlick(list.body, up));
      run->Tick(&sleep);
    }
    const double start = ClockMs(CLOCK_THREAD_CPUTIME_ID);
    list.Frame();
    frames.push_back(ClockMs(CLOCK_THREAD_CPUTIME_ID) - start);
  }
  std::sort(frames.begin(), frames.end());
  state.counters["median_ms"] = frames[frames.size() / 2];
  state.counters["max_ms"] = frames.back();
}
BENCHMARK(BM_CoastingFrame)->Iterations(2000)->Unit(benchmark::kMillisecond);

void BM_Fill3000Rows(benchmark::State& state) {
  ListWindow list;
  for (auto _ : state) {
    list.Fill();
    benchmark::DoNotOptimize(list.body.content_height());
  }
}
BENCHMARK(BM_Fill3000Rows)->Unit(benchmark::kMillisecond);

// The bytes the list keeps per row besides the characters of its texts:
// the row, its cells, the vectors that hold them and the text objects.
void BM_MemoryPerRow(benchmark::State& state) {
  ListWindow list;
  list.Fill();
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const auto& row : list.body.rows().rows()) {
      bytes += sizeof(MobileListRow) + row.cells.capacity() * sizeof(MobileListCell);
      for (const auto& cell : row.cells) bytes += cell.alternatives.capacity() * sizeof(WideText);
    }
    bytes += list.body.rows().sections().capacity() * sizeof(int);
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes_per_row"] = double(bytes) / kRows;
}
BENCHMARK(BM_MemoryPerRow)->Iterations(1);

}  // namespace
}  // namespace brantel

BENCHMARK_MAIN();
