#include "platform/ui/window_dump.h"

#include <functional>

#include "platform/ui/message_queue.h"
#include "platform/ui/window_tree.h"

namespace brantel {

std::string DumpWindowTree(HWND root) {
  std::string out;
  std::lock_guard<std::mutex> lock(WindowTree::mutex());
  std::function<void(Window*, int)> dump = [&](Window* w, int depth) {
    Rect r = w->rect();
    out.append(size_t(depth) * 2, ' ');
    out += Narrow(w->class_name());
    out += " id=" + std::to_string(w->id());
    out += " (" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
    out += WindowTree::IsVisibleLocked(w) ? " visible" : " hidden";
    if (!w->IsEnabled()) out += " disabled";
    if (w->hwnd() == WindowTree::active) out += " active";
    if (w->hwnd() == WindowTree::focus) out += " focus";
    out += " \"" + Narrow(w->text()) + "\"\n";
    for (Window* c : w->children()) dump(c, depth + 1);
  };
  if (root) {
    if (Window* w = WindowTree::Find(root)) dump(w, 0);
    return out;
  }
  for (Window* top : WindowTree::top_levels()) dump(top, 0);
  return out;
}

}  // namespace brantel
