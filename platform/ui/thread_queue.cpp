#include "platform/ui/thread_queue.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>

#include "platform/ui/clock.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"

namespace brantel {
namespace {

std::mutex g_registry_mu;
std::map<ThreadId, std::weak_ptr<ThreadQueue>>& Registry() {
  static auto* registry = new std::map<ThreadId, std::weak_ptr<ThreadQueue>>();
  return *registry;
}
std::atomic<ThreadId> g_next_thread_id{1};

// Owns the calling thread's queue; closing it when the thread ends answers
// every pending send so no sender waits for ever.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    {
      std::lock_guard<std::mutex> lock(g_registry_mu);
      Registry().erase(queue->id());
    }
    queue->Close();
  }
};
thread_local QueueHolder t_holder;
thread_local ThreadId t_thread_id = 0;

}  // namespace

ThreadId GetCurrentThreadId() {
  if (t_thread_id == 0) t_thread_id = g_next_thread_id.fetch_add(1);
  return t_thread_id;
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (!t_holder.queue) {
    auto queue = std::make_shared<ThreadQueue>(GetCurrentThreadId());
    std::lock_guard<std::mutex> lock(g_registry_mu);
    Registry()[queue->id()] = queue;
    t_holder.queue = queue;
  }
  return t_holder.queue;
}

std::shared_ptr<ThreadQueue> FindQueue(ThreadId id) {
  if (id == GetCurrentThreadId()) return CurrentQueue();
  std::lock_guard<std::mutex> lock(g_registry_mu);
  auto it = Registry().find(id);
  return it == Registry().end() ? nullptr : it->second.lock();
}

void WakeAllQueues() {
  std::vector<std::shared_ptr<ThreadQueue>> queues;
  {
    std::lock_guard<std::mutex> lock(g_registry_mu);
    for (auto& [id, weak] : Registry())
      if (auto q = weak.lock()) queues.push_back(q);
  }
  for (auto& q : queues) q->Wake();
}

// ---------------------------------------------------------------------------

void ThreadQueue::WakeLocked() {
  ++wake_seq_;
  cv_.notify_all();
  if (client_) client_->Wake();
}

void ThreadQueue::Wake() {
  std::lock_guard<std::mutex> lock(mu_);
  WakeLocked();
}

bool ThreadQueue::Post(const Message& msg, bool front) {
  std::lock_guard<std::mutex> lock(mu_);
  if (closed_) return false;
  if (posted_.size() >= kMaxPosted) return false;
  if (front) {
    posted_.push_front(msg);
    WakeLocked();
    return true;
  }
  // Pointer moves coalesce: a move still waiting is replaced by the newer
  // one, as on the device (GetMouseMovePoints keeps the points in between).
  if (msg.message == WM_MOUSEMOVE && !posted_.empty() && posted_.back().message == WM_MOUSEMOVE &&
      posted_.back().hwnd == msg.hwnd) {
    posted_.back() = msg;
  } else {
    posted_.push_back(msg);
  }
  WakeLocked();
  return true;
}

bool ThreadQueue::EnqueueSent(const std::shared_ptr<SentMessage>& sent) {
  std::lock_guard<std::mutex> lock(mu_);
  if (closed_) return false;
  sent_.push_back(sent);
  WakeLocked();
  return true;
}

void ThreadQueue::MarkPaintPending() {
  std::lock_guard<std::mutex> lock(mu_);
  paint_hint_ = true;
  WakeLocked();
}

void ThreadQueue::SetTimer(HWND hwnd, uintptr_t id, uint32_t elapse_ms) {
  std::lock_guard<std::mutex> lock(mu_);
  uint32_t period = std::max<uint32_t>(elapse_ms, 1);
  uint64_t due = GetTickCount64() + period;
  for (auto& t : timers_) {
    if (t.hwnd == hwnd && t.id == id) {
      t.period = period;
      t.due = due;
      WakeLocked();
      return;
    }
  }
  timers_.push_back(Timer{hwnd, id, period, due});
  WakeLocked();
}

bool ThreadQueue::KillTimer(HWND hwnd, uintptr_t id) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void ThreadQueue::KillTimersOf(HWND hwnd) {
  std::lock_guard<std::mutex> lock(mu_);
  std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool ThreadQueue::HasTimer(HWND hwnd, uintptr_t id) {
  std::lock_guard<std::mutex> lock(mu_);
  return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

void ThreadQueue::CompleteSent(SentMessage& sent, LRESULT result) {
  std::lock_guard<std::mutex> lock(mu_);
  sent.result = result;
  sent.done = true;
  WakeLocked();
}

void ThreadQueue::Close() {
  std::deque<std::shared_ptr<SentMessage>> pending;
  {
    std::lock_guard<std::mutex> lock(mu_);
    closed_ = true;
    pending.swap(sent_);
    posted_.clear();
    timers_.clear();
    client_ = nullptr;
  }
  for (auto& s : pending)
    if (s->sender) s->sender->CompleteSent(*s, 0);
}

void ThreadQueue::PostQuit(int code) {
  std::lock_guard<std::mutex> lock(mu_);
  quit_ = true;
  quit_code_ = code;
  WakeLocked();
}

void ThreadQueue::SetClient(QueueClient* client) {
  std::lock_guard<std::mutex> lock(mu_);
  client_ = client;
}

bool ThreadQueue::HandleIncomingSends() {
  bool any = false;
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (sent_.empty()) return any;
      sent = sent_.front();
      sent_.pop_front();
    }
    any = true;
    LRESULT result = CallWindowHandler(sent->msg);
    if (sent->sender) sent->sender->CompleteSent(*sent, result);
  }
}

bool ThreadQueue::WaitForReply(const std::shared_ptr<SentMessage>& sent, uint32_t timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    HandleIncomingSends();
    std::unique_lock<std::mutex> lock(mu_);
    if (sent->done) return true;
    if (!sent_.empty()) continue;
    auto pred = [&] { return sent->done || !sent_.empty(); };
    if (timeout_ms == INFINITE) {
      cv_.wait(lock, pred);
    } else if (!cv_.wait_until(lock, deadline, pred)) {
      return false;
    }
  }
}

bool ThreadQueue::TakePosted(Message* msg, HWND filter, uint32_t min, uint32_t max, bool remove) {
  for (auto it = posted_.begin(); it != posted_.end(); ++it) {
    if (!MatchesWindow(it->hwnd, filter) || !InRange(it->message, min, max)) continue;
    *msg = *it;
    if (remove) posted_.erase(it);
    return true;
  }
  return false;
}

bool ThreadQueue::TakeTimer(Message* msg, HWND filter, uint32_t min, uint32_t max, bool remove) {
  if (timers_.empty() || !InRange(WM_TIMER, min, max)) return false;
  uint64_t now = GetTickCount64();
  Timer* best = nullptr;
  for (auto& t : timers_)
    if (t.due <= now && MatchesWindow(t.hwnd, filter) && (!best || t.due < best->due)) best = &t;
  if (!best) return false;
  *msg = Message{best->hwnd, WM_TIMER, best->id, 0, uint32_t(now), {}};
  // One WM_TIMER however many periods passed: the next one is a full period
  // after this one is taken.
  if (remove) best->due = now + best->period;
  return true;
}

bool ThreadQueue::Peek(Message* msg, HWND filter, uint32_t min, uint32_t max, bool remove) {
  HandleIncomingSends();
  {
    std::lock_guard<std::mutex> lock(mu_);
    seen_seq_ = wake_seq_;
    if (TakePosted(msg, filter, min, max, remove)) goto found;
  }
  if (client_ && !in_client_) {
    in_client_ = true;
    client_->PumpInput();
    in_client_ = false;
    std::lock_guard<std::mutex> lock(mu_);
    if (TakePosted(msg, filter, min, max, remove)) goto found;
  }
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (quit_) {
      *msg = Message{0, WM_QUIT, WPARAM(quit_code_), 0, GetTickCount(), {}};
      if (remove) quit_ = false;
      return true;
    }
  }
  if (InRange(WM_PAINT, min, max)) {
    bool hint;
    {
      std::lock_guard<std::mutex> lock(mu_);
      hint = paint_hint_;
    }
    if (hint) {
      HWND h = NextWindowToPaint(id_, filter);
      if (h) {
        *msg = Message{h, WM_PAINT, 0, 0, GetTickCount(), {}};
        return true;
      }
      if (filter == 0) {
        std::lock_guard<std::mutex> lock(mu_);
        paint_hint_ = false;
      }
    }
  }
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (TakeTimer(msg, filter, min, max, remove)) return true;
  }
  if (client_ && !in_client_) {
    in_client_ = true;
    client_->OnIdle();
    in_client_ = false;
  }
  return false;
found:
  if (remove && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) OnMouseMoveRetrieved(*msg);
  return true;
}

uint32_t ThreadQueue::NextTimerTimeout() {
  std::lock_guard<std::mutex> lock(mu_);
  if (timers_.empty()) return INFINITE;
  uint64_t now = GetTickCount64();
  uint64_t next = UINT64_MAX;
  for (auto& t : timers_) next = std::min(next, t.due);
  if (next <= now) return 0;
  // A manual clock only moves when a test advances it, and that wakes us.
  if (IsManualClock()) return INFINITE;
  return uint32_t(std::min<uint64_t>(next - now, INFINITE - 1));
}

void ThreadQueue::WaitForWork(uint32_t timeout_ms) {
  QueueClient* client;
  {
    std::unique_lock<std::mutex> lock(mu_);
    if (wake_seq_ != seen_seq_ || !sent_.empty()) return;
    client = in_client_ ? nullptr : client_;
    if (!client) {
      auto pred = [&] { return wake_seq_ != seen_seq_ || !sent_.empty(); };
      if (timeout_ms == INFINITE)
        cv_.wait(lock, pred);
      else
        cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), pred);
      return;
    }
  }
  client->Wait(timeout_ms);
}

bool ThreadQueue::IsIdle() {
  std::lock_guard<std::mutex> lock(mu_);
  return posted_.empty() && sent_.empty() && !quit_;
}

bool ThreadQueue::HasPendingWork() {
  std::lock_guard<std::mutex> lock(mu_);
  return !posted_.empty() || !sent_.empty();
}

}  // namespace brantel
