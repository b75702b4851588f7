#include "platform/ui/screen.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/gfx/png_writer.h"
#include "platform/ui/display.h"
#include "platform/ui/window_tree.h"

namespace brantel {
namespace {

std::atomic<int> g_width{480};
std::atomic<int> g_height{800};
std::atomic<bool> g_bar_visible{true};
std::atomic<bool> g_dirty{true};

void BlitOpaque(Surface& dst, const Surface& src, Point at, const Rect& part) {
  Rect target = Rect::FromSize(at.x, at.y, src.width(), src.height()).Intersect(part);
  if (target.IsEmpty()) return;
  for (int y = target.top; y < target.bottom; ++y) {
    const uint32_t* s = src.row(y - at.y) + (target.left - at.x);
    uint32_t* d = dst.row(y) + target.left;
    for (int x = 0; x < target.Width(); ++x) d[x] = s[x] | 0xFF000000u;
  }
}

// Composes `area` of the screen (all of it when `area` is null).
void Compose(Surface& screen, HWND stop_at = 0, const Rect* area = nullptr) {
  int w = g_width.load(), h = g_height.load();
  Rect part{0, 0, w, h};
  if (screen.width() != w || screen.height() != h) {
    screen.Resize(w, h, 0xFF000000);
  } else if (!area) {
    std::fill(screen.data(), screen.data() + size_t(w) * size_t(h), 0xFF000000u);
  } else {
    part = area->Intersect(part);
    for (int y = part.top; y < part.bottom; ++y) std::fill(screen.row(y) + part.left, screen.row(y) + part.right, 0xFF000000u);
  }
  std::lock_guard<std::mutex> lock(WindowTree::mutex());
  for (Window* top : WindowTree::top_levels()) {
    if (stop_at && top->hwnd() == stop_at) break;
    if (!WindowTree::visible(top)) continue;
    BlitOpaque(screen, WindowTree::backing(top), Point{top->rect().left, top->rect().top}, part);
  }
}

}  // namespace

void MarkScreenDirty() {
  if (!g_dirty.exchange(true)) WakeDisplayThread();
}

Size GetScreenSize() { return Size{g_width.load(), g_height.load()}; }

Rect GetWorkArea() {
  Size s = GetScreenSize();
  return Rect{0, g_bar_visible.load() ? kSystemBarHeight : 0, s.cx, s.cy};
}

void SetScreenSizeInternal(int width, int height) {
  g_width.store(width);
  g_height.store(height);
  MarkScreenDirty();
}

void SetSystemBarVisibleInternal(bool visible) { g_bar_visible.store(visible); }
bool IsSystemBarVisible() { return g_bar_visible.load(); }

// Leaves the dirty mark alone: the display has not shown this composition,
// so it must still compose and present at its next idle.
void CopyScreen(Surface& out) { Compose(out); }

void ComposeScreenArea(Surface& screen, const Rect& area) { Compose(screen, 0, &area); }

void CopyScreenBelow(HWND window, Surface& out) { Compose(out, window); }

bool SaveScreenshot(const std::string& path) {
  Surface s;
  Compose(s);
  return WritePngFile(s, path);
}

bool ComposeIfDirty(Surface& screen) {
  if (!g_dirty.exchange(false)) return false;
  Compose(screen);
  return true;
}

}  // namespace brantel
