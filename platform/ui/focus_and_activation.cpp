// Pointer capture, activation of top-level windows and keyboard focus.

#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"
#include "platform/ui/window_tree.h"

namespace brantel {
namespace {
using Lock = std::lock_guard<std::mutex>;

// One of the windows the tree remembers (capture, active, focus), forgotten
// once that window is gone. The caller holds the tree's lock.
HWND StillAlive(HWND& remembered) {
  if (remembered && !WindowTree::Find(remembered)) remembered = 0;
  return remembered;
}
}  // namespace

// --- Capture -----------------------------------------------------------------

HWND SetCapture(HWND hwnd) {
  HWND old;
  {
    Lock lock(WindowTree::mutex());
    if (hwnd && !WindowTree::Find(hwnd)) return WindowTree::capture;
    old = WindowTree::capture;
    WindowTree::capture = hwnd;
  }
  if (old && old != hwnd) SendMessage(old, WM_CAPTURECHANGED, 0, LPARAM(hwnd));
  return old;
}

bool ReleaseCapture() {
  HWND old;
  {
    Lock lock(WindowTree::mutex());
    old = WindowTree::capture;
    WindowTree::capture = 0;
  }
  if (old) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() {
  Lock lock(WindowTree::mutex());
  return StillAlive(WindowTree::capture);
}

// --- Activation and focus ------------------------------------------------------

HWND SetActiveWindow(HWND hwnd) {
  HWND old;
  {
    Lock lock(WindowTree::mutex());
    Window* w = WindowTree::Find(hwnd);
    if (hwnd && !w) return 0;
    if (w) {
      w = WindowTree::TopLevelOf(w);
      hwnd = w->hwnd();
    }
    old = WindowTree::active;
    if (old == hwnd) return old;
    if (!WindowTree::Find(old)) old = 0;
    WindowTree::active = hwnd;
    if (w) WindowTree::PlaceTopLevel(w);
  }
  MarkScreenDirty();
  // The window that loses activation hears first, then the one that gains it.
  // Child screens that hear shell events follow their top-level window.
  if (old) {
    SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), LPARAM(hwnd));
    RelayShellEvent(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), LPARAM(hwnd));
  }
  if (hwnd && GetActiveWindow() == hwnd) {
    SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), LPARAM(old));
    RelayShellEvent(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), LPARAM(old));
  }
  if (!hwnd) SetFocus(0);
  NotifyShellObserver();
  return old;
}

HWND GetActiveWindow() {
  Lock lock(WindowTree::mutex());
  return StillAlive(WindowTree::active);
}

bool SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return false;
  SetActiveWindow(hwnd);
  return true;
}

HWND SetFocus(HWND hwnd) {
  HWND top = 0;
  {
    Lock lock(WindowTree::mutex());
    Window* w = WindowTree::Find(hwnd);
    if (hwnd && !w) return 0;
    if (w) top = WindowTree::TopLevelOf(w)->hwnd();
  }
  if (top && GetActiveWindow() != top) SetActiveWindow(top);
  HWND old;
  {
    Lock lock(WindowTree::mutex());
    if (hwnd && !WindowTree::Find(hwnd)) return 0;
    old = WindowTree::focus;
    if (old == hwnd) return old;
    if (!WindowTree::Find(old)) old = 0;
    WindowTree::focus = hwnd;
  }
  if (old) SendMessage(old, WM_KILLFOCUS, WPARAM(hwnd), 0);
  if (hwnd && GetFocus() == hwnd) SendMessage(hwnd, WM_SETFOCUS, WPARAM(old), 0);
  return old;
}

HWND GetFocus() {
  Lock lock(WindowTree::mutex());
  return StillAlive(WindowTree::focus);
}

}  // namespace brantel
