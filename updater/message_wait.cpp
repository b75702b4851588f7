#include "updater/message_wait.h"

#include <chrono>
#include <thread>

namespace brantel {

bool WaitLettingMessagesThrough(int ms, const MessagePump& pump) {
  bool cancelled = false;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (pump && pump()) cancelled = true;
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(end - now, std::chrono::milliseconds(10)));
  }
  return cancelled;
}

}  // namespace brantel
