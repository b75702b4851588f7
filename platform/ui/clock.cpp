#include "platform/ui/clock.h"

#include <atomic>
#include <chrono>

#include "platform/ui/thread_queue.h"

namespace brantel {
namespace {

std::atomic<bool> g_manual{false};
std::atomic<uint64_t> g_manual_now{0};

uint64_t RealNow() {
  // Starts at an arbitrary non-zero value so 0 never reads as "no time".
  static const auto start = std::chrono::steady_clock::now();
  auto elapsed = std::chrono::steady_clock::now() - start;
  return 1000 + uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace

uint64_t GetTickCount64() { return g_manual.load() ? g_manual_now.load() : RealNow(); }
uint32_t GetTickCount() { return uint32_t(GetTickCount64()); }

void UseManualClock(uint64_t start_ms) {
  g_manual_now.store(start_ms);
  g_manual.store(true);
  WakeAllQueues();
}

void UseRealClock() {
  g_manual.store(false);
  WakeAllQueues();
}

bool IsManualClock() { return g_manual.load(); }

void AdvanceClock(uint32_t ms) {
  g_manual_now.fetch_add(ms);
  WakeAllQueues();
}

}  // namespace brantel
