#include "platform/ui/window_tree.h"

#include <unistd.h>

#include <algorithm>

#include "platform/ui/thread_queue.h"

namespace brantel {
namespace {

std::unordered_map<HWND, Window*>& Table() {
  static auto* table = new std::unordered_map<HWND, Window*>();
  return *table;
}
uint32_t g_next_serial = 1;
WindowSystemHooks g_hooks;

void MarkThread(ThreadId thread) {
  if (auto q = FindQueue(thread)) q->MarkPaintPending();
}

void InvalidateSubtree(Window* w, const Rect& client, std::vector<ThreadId>& threads);

}  // namespace

HWND WindowTree::active = 0;
HWND WindowTree::focus = 0;
HWND WindowTree::capture = 0;

std::mutex& WindowTree::mutex() {
  static auto* mu = new std::mutex();
  return *mu;
}

bool IsLocalHandle(HWND hwnd) { return hwnd != 0 && HandleProcessId(hwnd) == uint32_t(getpid()); }

Window* WindowTree::Find(HWND hwnd) {
  if (hwnd == 0) return nullptr;
  auto it = Table().find(hwnd);
  return it == Table().end() ? nullptr : it->second;
}

std::vector<Window*>& WindowTree::top_levels() {
  static auto* list = new std::vector<Window*>();
  return *list;
}

HWND WindowTree::NewHandle() { return (HWND(uint32_t(getpid())) << 32) | g_next_serial++; }

void WindowTree::Add(Window* w) { Table()[w->hwnd_] = w; }

void WindowTree::Remove(Window* w) {
  Table().erase(w->hwnd_);
  std::erase(top_levels(), w);
}

Window* WindowTree::TopLevelOf(Window* w) {
  while (w && w->parent_) w = w->parent_;
  return w;
}

Point WindowTree::OriginOnTopLevel(const Window* w) {
  Point p;
  while (w && w->parent_) {
    p.x += w->rect_.left;
    p.y += w->rect_.top;
    w = w->parent_;
  }
  return p;
}

Rect WindowTree::VisibleOnTopLevel(const Window* w) {
  Point origin = OriginOnTopLevel(w);
  Rect visible = w->ClientRect().Offset(origin.x, origin.y);
  for (const Window* a = w->parent_; a; a = a->parent_) {
    Point o = OriginOnTopLevel(a);
    visible = visible.Intersect(a->ClientRect().Offset(o.x, o.y));
  }
  return visible;
}

bool WindowTree::IsVisibleLocked(const Window* w) {
  for (; w; w = w->parent_)
    if (!w->visible_) return false;
  return true;
}

namespace {

void InvalidateSubtree(Window* w, const Rect& client, std::vector<ThreadId>& threads) {
  Rect r = client.Intersect(w->ClientRect());
  if (r.IsEmpty()) return;
  WindowTree::update(w) = WindowTree::update(w).Union(r);
  ++WindowTree::update_serial(w);
  if (std::find(threads.begin(), threads.end(), w->thread()) == threads.end()) threads.push_back(w->thread());
  // A parent's repaint covers its children unless it clips them, so they
  // paint again on top of it.
  if (w->style() & WS_CLIPCHILDREN) return;
  for (Window* c : w->children()) {
    Rect cr = c->rect();
    InvalidateSubtree(c, r.Offset(-cr.left, -cr.top), threads);
  }
}

}  // namespace

void WindowTree::InvalidateLocked(Window* w, const Rect* client_rect) {
  if (!w || !w->hwnd_ || w->message_only_) return;
  Rect r = client_rect ? *client_rect : w->ClientRect();
  std::vector<ThreadId> threads;
  InvalidateSubtree(w, r, threads);
  // Siblings above that overlap are drawn after this window, so they repaint
  // where it will draw.
  for (Window* c = w; c->parent_; c = c->parent_) {
    Window* parent = c->parent_;
    Rect in_parent = r.Intersect(c->ClientRect()).Offset(c->rect_.left, c->rect_.top);
    auto& sibs = parent->children_;
    auto it = std::find(sibs.begin(), sibs.end(), c);
    if (it != sibs.end()) {
      for (++it; it != sibs.end(); ++it) {
        Rect sr = (*it)->rect_;
        Rect overlap = in_parent.Intersect(sr);
        if (!overlap.IsEmpty()) InvalidateSubtree(*it, overlap.Offset(-sr.left, -sr.top), threads);
      }
    }
    r = in_parent;
  }
  for (ThreadId t : threads) MarkThread(t);
}

void WindowTree::PlaceTopLevel(Window* w) {
  auto& list = top_levels();
  std::erase(list, w);
  if (w->top_most_) {
    list.push_back(w);
  } else {
    auto it = std::find_if(list.begin(), list.end(), [](Window* o) { return o->top_most_; });
    // An owned window stays above its owner, also when the owner is top-most.
    if (w->owner_) {
      auto owner_at = std::find(list.begin(), list.end(), w->owner_);
      if (owner_at != list.end() && owner_at >= it) it = owner_at + 1;
    }
    list.insert(it, w);
  }
  // Owned windows stay above their owner.
  for (Window* o : w->owned_)
    if (o->hwnd_ && !o->message_only_) PlaceTopLevel(o);
}

Window* WindowTree::DeepestAt(Window* w, Point p_in_parent) {
  if (!w->visible_ || !w->rect_.Contains(p_in_parent)) return nullptr;
  Point local{p_in_parent.x - w->rect_.left, p_in_parent.y - w->rect_.top};
  for (auto it = w->children_.rbegin(); it != w->children_.rend(); ++it)
    if (Window* hit = DeepestAt(*it, local)) return hit;
  return w;
}

// ---------------------------------------------------------------------------

HWND NextWindowToPaint(ThreadId thread, HWND filter) {
  std::lock_guard<std::mutex> lock(WindowTree::mutex());
  std::function<Window*(Window*)> visit = [&](Window* w) -> Window* {
    if (!WindowTree::visible(w)) return nullptr;
    if (w->thread() == thread && !WindowTree::update(w).IsEmpty() && (filter == 0 || filter == w->hwnd()))
      return w;
    for (Window* c : w->children())
      if (Window* found = visit(c)) return found;
    return nullptr;
  };
  for (Window* top : WindowTree::top_levels())
    if (Window* found = visit(top)) return found->hwnd();
  return 0;
}

void SetWindowSystemHooks(WindowSystemHooks hooks) { g_hooks = std::move(hooks); }
const WindowSystemHooks& GetWindowSystemHooks() { return g_hooks; }

}  // namespace brantel

namespace brantel {
namespace {
std::function<void()> g_shell_observer;
}
void SetShellObserver(std::function<void()> observer) { g_shell_observer = std::move(observer); }
void NotifyShellObserver() {
  if (g_shell_observer) g_shell_observer();
}
}  // namespace brantel
