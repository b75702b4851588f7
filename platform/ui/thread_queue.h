#pragma once
// The per-thread message queue behind the free functions of message_queue.h.
// Internal to the window system.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/ui/ui_types.h"

namespace brantel {

// Something that feeds a thread's queue from outside: the display backend on
// the UI thread. Its calls happen on the owning thread except Wake.
class QueueClient {
 public:
  virtual ~QueueClient() = default;
  // Turns pending input into posted messages; never blocks.
  virtual void PumpInput() = 0;
  // Nothing is left to handle: compose and present the screen.
  virtual void OnIdle() = 0;
  // Blocks until Wake, new input or `timeout_ms` (INFINITE waits for ever).
  virtual void Wait(uint32_t timeout_ms) = 0;
  // Any thread: ends a Wait, or makes the next one return at once.
  virtual void Wake() = 0;
};

class ThreadQueue;

struct SentMessage {
  Message msg;
  LRESULT result = 0;
  bool done = false;  // guarded by the sender's queue lock
  std::shared_ptr<ThreadQueue> sender;
};

class ThreadQueue : public std::enable_shared_from_this<ThreadQueue> {
 public:
  // Posted messages a queue holds at most, as on the device: a flood (a
  // thread or another process posting to a window that does not pump) fails
  // further posts instead of exhausting memory.
  static constexpr size_t kMaxPosted = 10000;

  explicit ThreadQueue(ThreadId id) : id_(id) {}
  ThreadId id() const { return id_; }

  // --- any thread ---
  // False once the owning thread has ended.
  bool Post(const Message& msg, bool front = false);
  bool EnqueueSent(const std::shared_ptr<SentMessage>& sent);
  void Wake();
  // Marks that a window of this thread became invalid.
  void MarkPaintPending();
  void SetTimer(HWND hwnd, uintptr_t id, uint32_t elapse_ms);
  bool KillTimer(HWND hwnd, uintptr_t id);
  void KillTimersOf(HWND hwnd);
  bool HasTimer(HWND hwnd, uintptr_t id);
  // Completes a sent message whose sender is this queue.
  void CompleteSent(SentMessage& sent, LRESULT result);
  // Ends the queue: pending sends are answered with 0, later posts refused.
  void Close();

  // --- owning thread ---
  void PostQuit(int code);
  bool Peek(Message* msg, HWND filter, uint32_t min, uint32_t max, bool remove);
  // Blocks until something new may be there or `timeout_ms` passed.
  void WaitForWork(uint32_t timeout_ms);
  // Handles every message sent from other threads. True if one was handled.
  bool HandleIncomingSends();
  // Waits for `sent` (which this queue sent) to complete, handling messages
  // sent to this thread meanwhile. False on timeout.
  bool WaitForReply(const std::shared_ptr<SentMessage>& sent, uint32_t timeout_ms);
  // Nothing posted, sent or quitting (paints are the window tree's to tell).
  bool IsIdle();
  // Posted or sent messages wait (paints and timers not counted).
  bool HasPendingWork();
  // Milliseconds until the next timer is due; INFINITE when none.
  uint32_t NextTimerTimeout();
  void SetClient(QueueClient* client);
  QueueClient* client() const { return client_; }

 private:
  struct Timer {
    HWND hwnd;
    uintptr_t id;
    uint32_t period;
    uint64_t due;
  };
  static bool InRange(uint32_t message, uint32_t min, uint32_t max) {
    return (min == 0 && max == 0) || (message >= min && message <= max);
  }
  static bool MatchesWindow(HWND hwnd, HWND filter) {
    return filter == 0 || (filter == HWND(-1) ? hwnd == 0 : hwnd == filter);
  }
  bool TakePosted(Message* msg, HWND filter, uint32_t min, uint32_t max, bool remove);
  bool TakeTimer(Message* msg, HWND filter, uint32_t min, uint32_t max, bool remove);
  void WakeLocked();

  const ThreadId id_;
  std::mutex mu_;
  std::condition_variable cv_;
  std::deque<Message> posted_;
  std::deque<std::shared_ptr<SentMessage>> sent_;
  std::vector<Timer> timers_;
  bool quit_ = false;
  int quit_code_ = 0;
  bool paint_hint_ = false;
  bool closed_ = false;
  uint64_t wake_seq_ = 0;
  uint64_t seen_seq_ = 0;
  QueueClient* client_ = nullptr;
  bool in_client_ = false;
};

// The calling thread's queue (created on first use).
std::shared_ptr<ThreadQueue> CurrentQueue();
// The queue of a thread, or null when that thread has none or has ended.
std::shared_ptr<ThreadQueue> FindQueue(ThreadId id);
void WakeAllQueues();

// Implemented by the window tree: the next window of `thread` that needs
// WM_PAINT (parents before children), or 0.
HWND NextWindowToPaint(ThreadId thread, HWND filter);
// Implemented by the window tree: runs a window's handler on its own thread.
LRESULT CallWindowHandler(const Message& msg);
// Implemented by the pointer input: records that a WM_MOUSEMOVE for these
// points was taken from the queue (GetMouseMovePoints reads them).
void OnMouseMoveRetrieved(const Message& msg);

}  // namespace brantel
