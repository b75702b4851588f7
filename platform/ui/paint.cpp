#include "platform/ui/paint.h"

#include "platform/ui/present.h"
#include "platform/ui/window_tree.h"

namespace brantel {

PaintScope::PaintScope(Window& window, bool validate) : window_(window), surfaces_(BackingSurfaceLock()) {
  Surface* target = &empty_;
  {
    std::lock_guard<std::mutex> lock(WindowTree::mutex());
    Window* top = WindowTree::TopLevelOf(&window);
    dirty_ = validate ? WindowTree::update(&window) : window.ClientRect();
    if (validate) WindowTree::update(&window) = Rect{};
    if (window.IsAlive() && top->IsTopLevel() && WindowTree::IsVisibleLocked(&window)) {
      origin_ = WindowTree::OriginOnTopLevel(&window);
      Rect visible = WindowTree::VisibleOnTopLevel(&window);
      clip_ = visible.Intersect(dirty_.Offset(origin_.x, origin_.y));
      target = &WindowTree::backing(top);
    }
  }
  dc_.emplace(*target, origin_, clip_);
}

PaintScope::~PaintScope() {
  if (!clip_.IsEmpty()) MarkScreenDirty();
}

}  // namespace brantel
