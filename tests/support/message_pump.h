#pragma once
// Running the window system's loop in a test until something has happened.

#include <chrono>
#include <functional>
#include <thread>

#include "platform/ui/message_queue.h"

namespace brantel::testing {

// Pumps the pending messages until `done` holds; false after `timeout_ms`
// real milliseconds.
inline bool PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    PumpPendingMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Pumps the messages for `ms` real milliseconds.
inline void RunFor(int ms) { PumpUntil([] { return false; }, ms); }

}  // namespace brantel::testing
