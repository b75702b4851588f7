#include "platform/ui/multimedia_timer.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace brantel {
namespace {

enum class TimerState { kPending, kRunning, kDone, kCancelled };

struct TimerEntry {
  TimerState state = TimerState::kPending;
  std::thread thread;
};

// Every timer has its own thread, so a long callback never delays another
// timer. Finished threads are joined later; the rest at process exit.
class TimerService {
 public:
  ~TimerService() {
    std::vector<std::thread> threads;
    {
      std::lock_guard<std::mutex> lock(mu_);
      shutting_down_ = true;
      for (auto& [id, e] : timers_) {
        if (e.state == TimerState::kPending) e.state = TimerState::kCancelled;
        threads.push_back(std::move(e.thread));
      }
      cv_.notify_all();
    }
    for (auto& t : threads)
      if (t.joinable()) t.join();
  }

  uint32_t Start(uint32_t delay_ms, std::function<void(uint32_t)> callback) {
    std::vector<std::thread> finished;
    uint32_t id;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (shutting_down_) return 0;
      ReapLocked(finished);
      id = next_id_++;
      if (next_id_ == 0) next_id_ = 1;
      auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay_ms);
      timers_[id].thread = std::thread([this, id, due, cb = std::move(callback)] { Run(id, due, cb); });
    }
    for (auto& t : finished) t.join();
    return id;
  }

  bool Kill(uint32_t id) {
    std::unique_lock<std::mutex> lock(mu_);
    auto it = timers_.find(id);
    if (it == timers_.end()) return false;
    if (it->second.state == TimerState::kPending) {
      it->second.state = TimerState::kCancelled;
      cv_.notify_all();
      return true;
    }
    if (it->second.state != TimerState::kRunning) return false;
    // A callback that runs is waited for, so its owner may go right after;
    // the callback itself may kill its own timer without waiting.
    if (it->second.thread.get_id() != std::this_thread::get_id())
      cv_.wait(lock, [&] { return timers_[id].state != TimerState::kRunning; });
    return true;
  }

 private:
  void Run(uint32_t id, std::chrono::steady_clock::time_point due, const std::function<void(uint32_t)>& cb) {
    {
      std::unique_lock<std::mutex> lock(mu_);
      cv_.wait_until(lock, due, [&] { return timers_[id].state != TimerState::kPending; });
      if (timers_[id].state != TimerState::kPending) {
        timers_[id].state = TimerState::kDone;
        return;
      }
      timers_[id].state = TimerState::kRunning;
    }
    if (cb) cb(id);
    std::lock_guard<std::mutex> lock(mu_);
    timers_[id].state = TimerState::kDone;
    cv_.notify_all();
  }

  void ReapLocked(std::vector<std::thread>& out) {
    for (auto it = timers_.begin(); it != timers_.end();) {
      if (it->second.state == TimerState::kDone) {
        out.push_back(std::move(it->second.thread));
        it = timers_.erase(it);
      } else {
        ++it;
      }
    }
  }

  std::mutex mu_;
  std::condition_variable cv_;
  std::map<uint32_t, TimerEntry> timers_;
  uint32_t next_id_ = 1;
  bool shutting_down_ = false;
};

TimerService& Service() {
  static TimerService service;
  return service;
}

}  // namespace

uint32_t StartOneShotTimer(uint32_t delay_ms, std::function<void(uint32_t id)> callback) {
  return Service().Start(delay_ms, std::move(callback));
}

bool KillOneShotTimer(uint32_t id) { return Service().Kill(id); }

uint32_t timeSetEvent(uint32_t delay_ms, uint32_t, MultimediaTimerProc proc, uintptr_t user, uint32_t flags) {
  if (flags != TIME_ONESHOT || !proc) return 0;
  return StartOneShotTimer(delay_ms, [proc, user](uint32_t id) { proc(id, 0, user, 0, 0); });
}

uint32_t timeKillEvent(uint32_t id) { return KillOneShotTimer(id) ? TIMERR_NOERROR : MMSYSERR_INVALPARAM; }

}  // namespace brantel
