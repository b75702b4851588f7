#include "platform/ui/message_queue.h"

#include <algorithm>
#include <atomic>

#include "platform/ui/pointer.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_tree.h"

namespace brantel {
namespace {

using Lock = std::lock_guard<std::mutex>;

std::atomic<HWND> g_main_window{0};
std::atomic<uintptr_t> g_next_thread_timer{0x7FFF0000};

Message MakeMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  Message m{hwnd, message, wParam, lParam, GetTickCount(), {}};
  GetCursorPos(&m.pt);
  return m;
}

// The thread a local window belongs to; 0 when it is gone.
ThreadId ThreadOf(HWND hwnd) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  return w ? w->thread() : 0;
}

}  // namespace

LRESULT CallWindowHandler(const Message& msg) {
  Window* w;
  {
    Lock lock(WindowTree::mutex());
    w = WindowTree::Find(msg.hwnd);
    if (w && w->thread() != GetCurrentThreadId()) w = nullptr;
  }
  if (!w) return 0;
  return w->WindowProc(msg.message, msg.wParam, msg.lParam);
}

bool PostMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == 0) return CurrentQueue()->Post(MakeMessage(0, message, wParam, lParam));
  if (!IsLocalHandle(hwnd)) {
    auto& hooks = GetWindowSystemHooks();
    return hooks.post_remote ? hooks.post_remote(hwnd, message, wParam, lParam) : false;
  }
  ThreadId thread = ThreadOf(hwnd);
  if (!thread) return false;
  auto queue = FindQueue(thread);
  return queue && queue->Post(MakeMessage(hwnd, message, wParam, lParam));
}

bool PostThreadMessage(ThreadId thread, uint32_t message, WPARAM wParam, LPARAM lParam) {
  auto queue = FindQueue(thread);
  return queue && queue->Post(MakeMessage(0, message, wParam, lParam));
}

bool SendMessageTimeout(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam, uint32_t timeout_ms,
                        LRESULT* result) {
  if (result) *result = 0;
  if (hwnd == 0) return false;
  if (!IsLocalHandle(hwnd)) {
    auto& hooks = GetWindowSystemHooks();
    if (!hooks.send_remote) return false;
    LRESULT r = hooks.send_remote(hwnd, message, wParam, lParam);
    if (result) *result = r;
    return true;
  }
  ThreadId thread = ThreadOf(hwnd);
  if (!thread) return false;
  Message msg = MakeMessage(hwnd, message, wParam, lParam);
  if (thread == GetCurrentThreadId()) {
    LRESULT r = CallWindowHandler(msg);
    if (result) *result = r;
    return true;
  }
  auto target = FindQueue(thread);
  if (!target) return false;
  auto sent = std::make_shared<SentMessage>();
  sent->msg = msg;
  sent->sender = CurrentQueue();
  if (!target->EnqueueSent(sent)) return false;
  if (!sent->sender->WaitForReply(sent, timeout_ms)) return false;
  if (result) *result = sent->result;
  return true;
}

LRESULT SendMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  SendMessageTimeout(hwnd, message, wParam, lParam, INFINITE, &result);
  return result;
}

bool PeekMessage(Message* msg, HWND filter, uint32_t min, uint32_t max, uint32_t remove) {
  Message local;
  return CurrentQueue()->Peek(msg ? msg : &local, filter, min, max, (remove & PM_REMOVE) != 0);
}

bool GetMessage(Message* msg, HWND filter, uint32_t min, uint32_t max) {
  auto queue = CurrentQueue();
  Message local;
  Message* out = msg ? msg : &local;
  // Waiting for a window that is gone would wait for ever.
  if (filter != 0 && filter != HWND(-1) && !IsWindow(filter)) {
    *out = Message{};
    return false;
  }
  while (!queue->Peek(out, filter, min, max, true)) queue->WaitForWork(queue->NextTimerTimeout());
  return out->message != WM_QUIT;
}

bool WaitMessage(uint32_t timeout_ms) {
  auto queue = CurrentQueue();
  Message probe;
  if (queue->Peek(&probe, 0, 0, 0, false)) return true;
  uint32_t timer = queue->NextTimerTimeout();
  queue->WaitForWork(timeout_ms < timer ? timeout_ms : timer);
  return queue->Peek(&probe, 0, 0, 0, false);
}

bool TranslateMessage(const Message* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return false;
  char16_t ch = 0;
  switch (msg->wParam) {
    case VK_BACK: ch = 8; break;
    case VK_TAB: ch = 9; break;
    case VK_RETURN: ch = 13; break;
    case VK_ESCAPE: ch = 27; break;
    default: return false;
  }
  // The character comes next, before anything queued after the key press.
  return CurrentQueue()->Post(MakeMessage(msg->hwnd, WM_CHAR, ch, msg->lParam), true);
}

LRESULT DispatchMessage(const Message* msg) {
  if (!msg || msg->hwnd == 0 || !IsLocalHandle(msg->hwnd)) return 0;
  if (msg->message != WM_PAINT) return CallWindowHandler(*msg);
  uint64_t serial;
  {
    Lock lock(WindowTree::mutex());
    Window* w = WindowTree::Find(msg->hwnd);
    if (!w) return 0;
    serial = WindowTree::update_serial(w);
  }
  LRESULT r = CallWindowHandler(*msg);
  // A handler that neither painted nor invalidated again must not get the
  // same WM_PAINT for ever.
  Lock lock(WindowTree::mutex());
  if (Window* w = WindowTree::Find(msg->hwnd); w && WindowTree::update_serial(w) == serial)
    WindowTree::update(w) = Rect{};
  return r;
}

void PostQuitMessage(int exit_code) { CurrentQueue()->PostQuit(exit_code); }

uintptr_t SetTimer(HWND hwnd, uintptr_t id, uint32_t elapse_ms) {
  if (hwnd == 0) {
    if (id == 0 || !CurrentQueue()->HasTimer(0, id)) id = g_next_thread_timer.fetch_add(1);
    CurrentQueue()->SetTimer(0, id, elapse_ms);
    return id;
  }
  ThreadId thread = ThreadOf(hwnd);
  auto queue = thread ? FindQueue(thread) : nullptr;
  if (!queue) return 0;
  queue->SetTimer(hwnd, id, elapse_ms);
  return id ? id : 1;
}

bool KillTimer(HWND hwnd, uintptr_t id) {
  if (hwnd == 0) return CurrentQueue()->KillTimer(0, id);
  ThreadId thread = ThreadOf(hwnd);
  auto queue = thread ? FindQueue(thread) : nullptr;
  return queue && queue->KillTimer(hwnd, id);
}

bool PreDispatchMessage(Message* msg) {
  if (!msg || !msg->hwnd) return false;
  std::vector<HWND> chain;
  {
    Lock lock(WindowTree::mutex());
    for (Window* w = WindowTree::Find(msg->hwnd); w; w = w->parent()) chain.push_back(w->hwnd());
  }
  for (HWND h : chain) {
    Window* w = WindowFromHandle(h);
    if (w && w->PreTranslateMessage(msg)) return true;
  }
  return false;
}

int RunMessageLoop() {
  Message msg;
  while (GetMessage(&msg, 0, 0, 0)) {
    if (PreDispatchMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return int(msg.wParam);
}

PumpResult PumpPendingMessagesUntil(uint32_t stop_message) {
  // Each timer fires at most once per pump, so a fast timer whose handler
  // takes longer than its period cannot keep the pump from returning.
  std::vector<std::pair<HWND, WPARAM>> timers_seen;
  Message msg;
  while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return PumpResult::kQuit;
    }
    if (stop_message != WM_NULL && msg.message == stop_message) return PumpResult::kStopMessage;
    bool last = false;
    if (msg.message == WM_TIMER) {
      auto key = std::make_pair(msg.hwnd, msg.wParam);
      last = std::find(timers_seen.begin(), timers_seen.end(), key) != timers_seen.end();
      timers_seen.push_back(key);
    }
    if (!PreDispatchMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    if (last) break;
  }
  return PumpResult::kEmpty;
}

bool PumpPendingMessages() { return PumpPendingMessagesUntil(WM_NULL) != PumpResult::kQuit; }

bool IsQueueIdle() {
  auto queue = CurrentQueue();
  if (!queue->IsIdle()) return false;
  return NextWindowToPaint(queue->id(), 0) == 0;
}

void SetMainWindow(HWND hwnd) { g_main_window.store(hwnd); }
HWND GetMainWindow() {
  HWND h = g_main_window.load();
  return h && (!IsLocalHandle(h) || IsWindow(h)) ? h : 0;
}

}  // namespace brantel
