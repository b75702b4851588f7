#pragma once
// The update bar ("Update Bar Window") at the foot of the market screens:
// the logo, "Updated : " with the time of the last update, and an animation
// while a refresh runs. WM_LIST_UPDATE_BEGIN starts the animation and
// WM_LIST_UPDATE_END stops it.
//
// The animation runs on its own thread, which only steps the frame and asks
// for a repaint; painting stays on the window's thread. The thread never
// outlives the window: WM_DESTROY stops it, and so does the destructor when
// the object is deleted without WM_DESTROY.

#include <atomic>
#include <cstdint>

#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "platform/thread/worker_thread.h"
#include "platform/ui/window.h"

namespace brantel {

inline constexpr char16_t kUpdateBarClass[] = u"Update Bar Window";

class CUpdateBarWnd : public Window {
 public:
  ~CUpdateBarWnd() override;

  // Pictures come from the process's resource library.
  bool Create(const Rect& rect, Window* parent, intptr_t owner, int id, uint32_t style = WS_VISIBLE);

  void SetLastUpdate(WideView text);
  // True while the animation thread runs.
  bool Running() const { return animation_.Running(); }
  int frame() const { return frame_; }
  intptr_t owner() const { return owner_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void StartAnimation();
  // Idle frame, thread stopped (waiting at most a second).
  void StopAnimation();
  void Paint();

  intptr_t owner_ = 0;
  ResourceLibraryRef library_;
  WideText last_update_;
  Surface buffer_;
  std::atomic<int> frame_{-1};
  WorkerThread animation_;
};

}  // namespace brantel
