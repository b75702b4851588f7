#include "platform/ui/present.h"

#include "platform/ui/display.h"
#include "platform/ui/window_tree.h"

namespace brantel {

std::recursive_mutex& BackingSurfaceLock() {
  static auto* lock = new std::recursive_mutex();
  return *lock;
}

bool DrawAndPresent(HWND hwnd, const Rect& client_rect, const std::function<void(DeviceContext&)>& draw) {
  std::lock_guard<std::recursive_mutex> surfaces(BackingSurfaceLock());
  Rect screen_area;
  {
    std::lock_guard<std::mutex> lock(WindowTree::mutex());
    Window* w = WindowTree::Find(hwnd);
    if (!w || WindowTree::destroying(w) || !WindowTree::IsVisibleLocked(w)) return false;
    Window* top = WindowTree::TopLevelOf(w);
    if (!top || !top->IsTopLevel()) return false;
    Point origin = WindowTree::OriginOnTopLevel(w);
    Rect clip = WindowTree::VisibleOnTopLevel(w).Intersect(client_rect.Offset(origin.x, origin.y));
    if (clip.IsEmpty()) return false;
    DeviceContext dc(WindowTree::backing(top), origin, clip);
    if (draw) draw(dc);
    Rect top_rect = WindowTree::rect(top);
    screen_area = clip.Offset(top_rect.left, top_rect.top);
  }
  PresentScreenArea(screen_area);
  return true;
}

}  // namespace brantel
