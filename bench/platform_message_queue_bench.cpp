// The message queue's costs: post and dispatch on one thread, a send to a
// window of another thread (the round trip a request routine makes to the
// main window), and a paint cycle of a window tree the size of a list screen.

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"

namespace brantel {
namespace {

class Counter : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) return LRESULT(++count + wParam);
    if (message == WM_PAINT) {
      PaintScope paint(*this);
      paint.dc().FillSolid(ClientRect(), RGB(0, 0, 0));
      return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
  }
  int64_t count = 0;
};

void BM_PostAndDispatch(benchmark::State& state) {
  Counter w;
  w.Create(u"Bench", u"", 0, Rect{0, 0, 10, 10});
  Message m;
  for (auto _ : state) {
    PostMessage(w.hwnd(), WM_APP, 1, 0);
    PeekMessage(&m, 0, 0, 0, PM_REMOVE);
    DispatchMessage(&m);
  }
  benchmark::DoNotOptimize(w.count);
}
BENCHMARK(BM_PostAndDispatch);

void BM_SendAcrossThreads(benchmark::State& state) {
  std::atomic<HWND> target{0};
  std::atomic<bool> stop{false};
  std::thread ui([&] {
    Counter w;
    w.Create(u"Bench", u"", 0, Rect{0, 0, 10, 10});
    target = w.hwnd();
    while (!stop) {
      Message m;
      while (PeekMessage(&m, 0, 0, 0, PM_REMOVE)) DispatchMessage(&m);
      WaitMessage(5);
    }
  });
  while (!target) std::this_thread::yield();
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(target, WM_APP, 1, 0));
  stop = true;
  ui.join();
}
BENCHMARK(BM_SendAcrossThreads)->UseRealTime();

// A full-screen window with 60 children invalidated and repainted.
void BM_InvalidateAndPaintTree(benchmark::State& state) {
  Counter top;
  top.Create(u"Bench", u"", WS_VISIBLE, Rect{0, 52, 480, 800});
  std::vector<std::unique_ptr<Counter>> rows;
  for (int i = 0; i < 60; ++i) {
    rows.push_back(std::make_unique<Counter>());
    rows.back()->Create(u"Row", u"", WS_VISIBLE | WS_CHILD, Rect::FromSize((i % 4) * 120, (i / 4) * 49, 120, 49), &top,
                        i);
  }
  PumpPendingMessages();
  for (auto _ : state) {
    top.Invalidate();
    PumpPendingMessages();
  }
}
BENCHMARK(BM_InvalidateAndPaintTree);

}  // namespace
}  // namespace brantel

BENCHMARK_MAIN();
