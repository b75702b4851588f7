#pragma once
// The detail's loading animation: eight 30 x 30 frames over the footer band,
// shown by a thread of its own every 100 ms while a request runs. The thread
// only copies frames to the screen through the presenting path, so the
// animation moves while the window thread waits for the network.

#include <atomic>

#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "platform/thread/worker_thread.h"
#include "platform/ui/ui_types.h"

namespace brantel {

inline constexpr int kSpinnerFrames = 8;
inline constexpr int kSpinnerSize = 30;

// The strip: frames 1035 to 1042 side by side over the footer band (or over
// black when that picture is missing).
Surface BuildSpinnerStrip(const ResourceLibraryRef& library);

class DetailSpinner {
 public:
  DetailSpinner() = default;
  ~DetailSpinner() { thread_.Stop(1000); }
  DetailSpinner(const DetailSpinner&) = delete;
  DetailSpinner& operator=(const DetailSpinner&) = delete;

  // Builds the strip and starts the thread suspended; frames go to `hwnd`.
  void Start(HWND hwnd, const ResourceLibraryRef& library);
  void MoveTo(Point client) { x_ = client.x, y_ = client.y; }
  void Run() {
    running_ = true;
    thread_.Resume();
  }
  void Pause() {
    running_ = false;
    thread_.Suspend();
  }
  bool running() const { return running_; }
  // Ends the thread (waits at most 1000 ms).
  void Stop() { thread_.Stop(1000); }
  int frame() const { return frame_; }
  // The window thread's own paint shows the current frame too.
  void PaintCurrent(DeviceContext& dc) const {
    dc.BitBlt(x_, y_, kSpinnerSize, kSpinnerSize, strip_, frame_ * kSpinnerSize, 0);
  }

 private:
  void Loop(WorkerThread& self);

  Surface strip_;
  HWND hwnd_ = 0;
  std::atomic<int> x_{0}, y_{0}, frame_{0};
  std::atomic<bool> running_{false};
  WorkerThread thread_;
};

}  // namespace brantel
