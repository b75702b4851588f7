// Handle-based window operations, window classes and lookup.

#include <algorithm>

#include "platform/ui/message_queue.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window.h"
#include "platform/ui/window_tree.h"

namespace brantel {
namespace {

using Lock = std::lock_guard<std::mutex>;

std::vector<WideText>& Classes() {
  static auto* classes = new std::vector<WideText>();
  return *classes;
}

// The object behind a handle when it belongs to the calling thread.
Window* Local(HWND hwnd) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  return w && w->thread() == GetCurrentThreadId() ? w : nullptr;
}

}  // namespace

bool RegisterWindowClass(WideView class_name) {
  Lock lock(WindowTree::mutex());
  for (auto& c : Classes())
    if (EqualsNoCase(c, class_name)) return false;
  Classes().emplace_back(class_name);
  return true;
}

bool IsWindowClassRegistered(WideView class_name) {
  Lock lock(WindowTree::mutex());
  return std::any_of(Classes().begin(), Classes().end(), [&](auto& c) { return EqualsNoCase(c, class_name); });
}

void UnregisterWindowClass(WideView class_name) {
  Lock lock(WindowTree::mutex());
  std::erase_if(Classes(), [&](auto& c) { return EqualsNoCase(c, class_name); });
}

bool IsWindow(HWND hwnd) {
  Lock lock(WindowTree::mutex());
  return WindowTree::Find(hwnd) != nullptr;
}

Window* WindowFromHandle(HWND hwnd) { return Local(hwnd); }

bool DestroyWindow(HWND hwnd) {
  Window* w = Local(hwnd);
  if (!w) return false;
  w->Destroy();
  return true;
}

bool ShowWindow(HWND hwnd, int show_command) {
  Window* w = Local(hwnd);
  if (!w) return false;
  bool was = w->IsVisibleFlag();
  w->Show(show_command);
  return was;
}

bool IsWindowVisible(HWND hwnd) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  return w && WindowTree::IsVisibleLocked(w);
}

bool EnableWindow(HWND hwnd, bool enable) {
  Window* w = Local(hwnd);
  if (!w) return false;
  bool was_disabled = !w->IsEnabled();
  w->Enable(enable);
  return was_disabled;
}

bool IsWindowEnabled(HWND hwnd) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  return w && w->IsEnabled();
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
  Window* w = Local(hwnd);
  if (!w) return false;
  w->Move(Rect::FromSize(x, y, width, height), repaint);
  return true;
}

bool GetWindowRect(HWND hwnd, Rect* screen_rect) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  if (!w || !screen_rect) return false;
  *screen_rect = w->ScreenRect();
  return true;
}

bool GetClientRect(HWND hwnd, Rect* rect) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  if (!w || !rect) return false;
  *rect = w->ClientRect();
  return true;
}

HWND GetParent(HWND hwnd) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  if (!w) return 0;
  if (w->parent()) return w->parent()->hwnd();
  return w->owner() ? w->owner()->hwnd() : 0;
}

HWND GetDlgItem(HWND hwnd, int id) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  Window* c = w ? w->GetDlgItem(id) : nullptr;
  return c ? c->hwnd() : 0;
}

bool SetWindowText(HWND hwnd, WideView text) {
  if (!IsWindow(hwnd)) return false;
  WideText copy(text);
  return SendMessage(hwnd, WM_SETTEXT, 0, LPARAM(copy.c_str())) != 0;
}

WideText GetWindowText(HWND hwnd) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  return w ? w->text() : WideText();
}

bool InvalidateRect(HWND hwnd, const Rect* client_rect, bool) {
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(hwnd);
  if (!w) return false;
  WindowTree::InvalidateLocked(w, client_rect);
  return true;
}

bool UpdateWindow(HWND hwnd) {
  Window* w = Local(hwnd);
  if (!w) return false;
  w->Update();
  return true;
}

HWND FindWindow(WideView class_name, WideView title) {
  {
    Lock lock(WindowTree::mutex());
    auto& list = WindowTree::top_levels();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      Window* w = *it;
      if ((class_name.empty() || EqualsNoCase(w->class_name(), class_name)) && (title.empty() || w->text() == title))
        return w->hwnd();
    }
  }
  auto& hooks = GetWindowSystemHooks();
  return hooks.find_remote ? hooks.find_remote(class_name, title) : 0;
}

HWND WindowFromPoint(Point screen_point) {
  Lock lock(WindowTree::mutex());
  auto& list = WindowTree::top_levels();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (Window* hit = WindowTree::DeepestAt(*it, screen_point)) return hit->hwnd();
  return 0;
}

std::vector<HWND> TopLevelWindows() {
  Lock lock(WindowTree::mutex());
  std::vector<HWND> out;
  for (Window* w : WindowTree::top_levels()) out.push_back(w->hwnd());
  return out;
}

namespace {
void CollectShellListeners(const Window* w, std::vector<HWND>& out) {
  for (const Window* child : w->children()) {
    if (!child->IsVisibleFlag()) continue;
    if (child->HearsShellEvents()) out.push_back(child->hwnd());
    CollectShellListeners(child, out);
  }
}
}  // namespace

void RelayShellEvent(HWND top_level, uint32_t message, WPARAM wParam, LPARAM lParam) {
  std::vector<HWND> listeners;
  {
    Lock lock(WindowTree::mutex());
    Window* w = WindowTree::Find(top_level);
    if (!w || w->parent()) return;
    CollectShellListeners(w, listeners);
  }
  // Handlers run without the lock; a listener gone meanwhile is skipped.
  for (HWND h : listeners) SendMessage(h, message, wParam, lParam);
}

}  // namespace brantel
