#pragma once
// Temporary stand-ins for pieces other branches are building (the flicking
// base, the worker thread, the presenting path, the menu bar and the
// numbered message box). Each has the call of the real piece and goes when
// that piece is merged.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/gfx/device_context.h"
#include "platform/ui/window.h"

namespace brantel {

inline constexpr WPARAM kFlickingMotionEnded = 0x1146;

// Drag-to-scroll without inertia, with CFlickingCtrl's calls.
class CFlickingCtrl : public Window {
 public:
  void SetTargetWindow(HWND target) { target_ = target; }
  int VerticalPosition() const { return position_; }
  void SetVerticalPosition(int position) { position_ = position; }
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void SetVerticalRange(int extent, int view) {
    extent_ = extent;
    view_ = view;
  }
  HWND target() const { return target_ ? target_ : hwnd(); }

 private:
  HWND target_ = 0;
  int position_ = 0, extent_ = 0, view_ = 0;
  Point down_, last_;
  bool dragging_ = false;
};

class WorkerThread {
 public:
  ~WorkerThread() { Stop(1000); }
  void Start(std::function<void(WorkerThread&)> body, bool suspended);
  bool StopRequested() const { return stop_; }
  bool SleepFor(int ms);
  void Suspend();
  void Resume();
  bool IsSuspended() const { return suspended_; }
  void WaitWhileSuspended();
  void Stop(int wait_ms);

 private:
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::atomic<bool> stop_{false}, suspended_{false};
};

// Draws `draw` into `client_rect` of `hwnd` and shows it from any thread.
void DrawAndPresent(HWND hwnd, const Rect& client_rect, const std::function<void(DeviceContext&)>& draw);

// The bottom soft-key bar (menu 234: "닫기" 40017 on the left).
class CMenuBarWnd : public Window {
 public:
  bool Create(const Rect& rect, Window* owner, int id);
  void ShowMenu(int number, bool keep_input_panel_button);
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
};

int ShowNumberedMessage(Window* owner, int number, int style);

}  // namespace brantel
