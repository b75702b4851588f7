#pragma once
// The process-wide state of the window system: the handle table, the order
// of top-level windows, and the active, focus and capture windows. Internal.
//
// One lock guards it. Handlers never run while it is held; other threads
// only reach windows through handles under it.

#include <functional>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/ui/window.h"

namespace brantel {

class WindowTree {
 public:
  static std::mutex& mutex();

  // Under the lock.
  static Window* Find(HWND hwnd);
  static std::vector<Window*>& top_levels();  // bottom to top
  static HWND NewHandle();
  static void Add(Window* w);
  static void Remove(Window* w);
  static Window* TopLevelOf(Window* w);
  // Where the client origin of `w` lies on its top-level's backing surface,
  // and the part of the backing surface where `w` is visible.
  static Point OriginOnTopLevel(const Window* w);
  static Rect VisibleOnTopLevel(const Window* w);
  static bool IsVisibleLocked(const Window* w);
  // Adds `client_rect` (null: all) to the invalid part of `w`, spreads it to
  // the children it covers and the siblings above it; marks their threads.
  static void InvalidateLocked(Window* w, const Rect* client_rect);
  static void PlaceTopLevel(Window* w);  // puts it on top of its band
  static Window* DeepestAt(Window* w, Point p_in_parent);

  // Access to private members for the implementation files.
  static Rect& update(Window* w) { return w->update_; }
  static uint64_t& update_serial(Window* w) { return w->update_serial_; }
  static Surface& backing(Window* w) { return w->backing_; }
  static bool& visible(Window* w) { return w->visible_; }
  static bool& enabled(Window* w) { return w->enabled_; }
  static Rect& rect(Window* w) { return w->rect_; }
  static bool destroying(const Window* w) { return w->destroying_; }
  static bool no_activate(const Window* w) { return w->no_activate_; }

  // Process-wide input state (handles; 0 = none). Under the lock.
  static HWND active;
  static HWND focus;
  static HWND capture;
};

// The screen was drawn on: the display composes and presents at its next idle.
void MarkScreenDirty();

// Hooks the cross-process route installs: told about every top-level window
// created or destroyed or renamed, and asked for windows and posts that leave
// the process.
struct WindowSystemHooks {
  std::function<void(HWND, const WideText& class_name, const WideText& title)> top_level_shown;
  std::function<void(HWND)> top_level_gone;
  std::function<HWND(WideView class_name, WideView title)> find_remote;
  std::function<bool(HWND, uint32_t, WPARAM, LPARAM)> post_remote;
  std::function<LRESULT(HWND, uint32_t, WPARAM, LPARAM)> send_remote;
};
void SetWindowSystemHooks(WindowSystemHooks hooks);
const WindowSystemHooks& GetWindowSystemHooks();

}  // namespace brantel

namespace brantel {
// The shell stand-in's observer: told (on the UI thread, without the lock)
// when activation or a top-level title changed, so the system bar redraws.
void SetShellObserver(std::function<void()> observer);
void NotifyShellObserver();
}  // namespace brantel
