#pragma once
// The clock behind GetTickCount, timers and message times.
//
// Normally the monotonic system clock. Tests can switch to a manual clock and
// advance it; advancing wakes every waiting queue so due timers fire without
// real sleeping.

#include <cstdint>

namespace brantel {

// Milliseconds since the clock started, wrapping after 49.7 days as on the device.
uint32_t GetTickCount();
// The same clock without wrapping.
uint64_t GetTickCount64();

// Test control: ManualClockScope switches to a manual clock starting at
// `start_ms` and back to the real clock when it ends.
void UseManualClock(uint64_t start_ms);
void UseRealClock();
bool IsManualClock();
void AdvanceClock(uint32_t ms);

class ManualClockScope {
 public:
  explicit ManualClockScope(uint64_t start_ms = 1000) { UseManualClock(start_ms); }
  ~ManualClockScope() { UseRealClock(); }
  ManualClockScope(const ManualClockScope&) = delete;
  ManualClockScope& operator=(const ManualClockScope&) = delete;
};

}  // namespace brantel
