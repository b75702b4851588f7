// Pointer input: routing of presses, moves and releases, the coalesced move
// points and the tap-and-hold recogniser.

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "platform/ui/input_router.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/pointer.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_tree.h"

namespace brantel {
namespace {

using Lock = std::lock_guard<std::mutex>;

struct PointerState {
  std::mutex mu;
  Point cursor;
  bool down = false;
  std::vector<Point> pending;  // quarter pixels, since the last move was taken
  std::vector<Point> current;  // those of the move being handled
};

PointerState& State() {
  static auto* state = new PointerState();
  return *state;
}

void Remember(std::vector<Point>& list, Point p) {
  list.push_back(p);
  if (list.size() > kMaxMouseMovePoints) list.erase(list.begin(), list.end() - kMaxMouseMovePoints);
}

// Target of pointer input: the capture window, else the deepest window under
// the point. Null when input must be dropped (a disabled window or one whose
// top-level window is disabled, as under a modal dialog).
Window* PointerTarget(Point p) {
  HWND h = GetCapture();
  if (!h) h = WindowFromPoint(p);
  Lock lock(WindowTree::mutex());
  Window* w = WindowTree::Find(h);
  if (!w) return nullptr;
  if (h != WindowTree::capture) {
    for (Window* a = w; a; a = a->parent())
      if (!a->IsEnabled()) return nullptr;
  }
  return w;
}

void PostPointer(Window* w, uint32_t message, WPARAM keys, Point screen) {
  HWND h = w->hwnd();
  Point c = w->ScreenToClient(screen);
  PostMessage(h, message, keys, MAKELPARAM(uint32_t(c.x), uint32_t(c.y)));
}


}  // namespace

bool GetCursorPos(Point* screen_point) {
  if (!screen_point) return false;
  Lock lock(State().mu);
  *screen_point = State().cursor;
  return true;
}

bool GetMouseMovePoints(Point* points, uint32_t capacity, uint32_t* count) {
  Lock lock(State().mu);
  auto& cur = State().current;
  uint32_t n = uint32_t(std::min<size_t>(cur.size(), capacity));
  if (count) *count = n;
  if (!points || n == 0) return false;
  std::copy(cur.end() - n, cur.end(), points);
  return true;
}

void OnMouseMoveRetrieved(const Message& msg) {
  Lock lock(State().mu);
  auto& s = State();
  if (msg.message == WM_MOUSEMOVE) {
    s.current.swap(s.pending);
    s.pending.clear();
  } else if (msg.message == WM_LBUTTONDOWN) {
    s.current.clear();
    s.pending.clear();
  }
}

void RoutePointer(PointerAction action, double x, double y) {
  Point p{int(std::floor(x)), int(std::floor(y))};
  Point quarter{int(std::lround(x * 4)), int(std::lround(y * 4))};
  {
    Lock lock(State().mu);
    auto& s = State();
    if (action == PointerAction::kMove && !s.down) return;  // a finger does not hover
    s.cursor = p;
    if (action == PointerAction::kDown) s.down = true;
    if (action == PointerAction::kUp) s.down = false;
    if (action == PointerAction::kMove) Remember(s.pending, quarter);
  }
  Window* w = PointerTarget(p);
  if (!w) return;
  switch (action) {
    case PointerAction::kDown: {
      Window* top = w->TopLevel();
      HWND hw = w->hwnd();
      if (top->IsTopLevel() && GetActiveWindow() != top->hwnd() && !WindowTree::no_activate(top) &&
          top->IsEnabled())
        SetActiveWindow(top->hwnd());
      if (Window* again = WindowFromHandle(hw)) PostPointer(again, WM_LBUTTONDOWN, MK_LBUTTON, p);
      break;
    }
    case PointerAction::kMove:
      PostPointer(w, WM_MOUSEMOVE, MK_LBUTTON, p);
      break;
    case PointerAction::kUp:
      PostPointer(w, WM_LBUTTONUP, 0, p);
      break;
  }
}

void RouteWheel(double x, double y, int delta_x, int delta_y) {
  const Point p{int(std::floor(x)), int(std::floor(y))};
  Window* w = PointerTarget(p);
  if (!w) return;
  const LPARAM where = MAKELPARAM(uint32_t(p.x), uint32_t(p.y));
  if (delta_y) PostMessage(w->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, uint32_t(delta_y)), where);
  if (delta_x) PostMessage(w->hwnd(), WM_MOUSEHWHEEL, MAKEWPARAM(0, uint32_t(delta_x)), where);
}

// --- Tap and hold --------------------------------------------------------------

uint32_t RecognizeTapAndHold(HWND hwnd, Point screen_point, uint32_t flags) {
  const uint64_t start = GetTickCount64();
  for (;;) {
    Message msg;
    while (PeekMessage(&msg, 0, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
      if (msg.message != WM_MOUSEMOVE) return 0;  // lifted (or pressed again)
      if (std::abs(msg.pt.x - screen_point.x) > kTapHoldSlop || std::abs(msg.pt.y - screen_point.y) > kTapHoldSlop)
        return 0;
      PeekMessage(&msg, 0, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);  // a jitter inside the slop
    }
    uint64_t now = GetTickCount64();
    if (now - start >= kTapHoldMs) break;
    // Everything but pointer input goes on while the finger is held.
    bool handled = false;
    while (PeekMessage(&msg, 0, 0, WM_MOUSEFIRST - 1, PM_REMOVE) ||
           PeekMessage(&msg, 0, WM_MOUSELAST + 1, 0xFFFFFFFF, PM_REMOVE)) {
      handled = true;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));
        return 0;
      }
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    if (!handled) WaitMessage(uint32_t(kTapHoldMs - (now - start)));
  }
  if (!(flags & TAPHOLD_RETURN_COMMAND) && IsWindow(hwnd))
    SendMessage(hwnd, WM_CONTEXTMENU, WPARAM(hwnd), MAKELPARAM(uint32_t(screen_point.x), uint32_t(screen_point.y)));
  return GESTURE_CONTEXT_MENU;
}

}  // namespace brantel
