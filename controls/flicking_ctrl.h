#pragma once
// CFlickingCtrl: a window that turns finger drags into a scroll position
// with inertia, rubber-band overscroll and snapping (the physics is
// FlickingState). Every change of position is posted to the target window
// as WM_FLICKING_SCROLLED (0); the end of a motion or a tap as
// WM_FLICKING_SCROLLED (kFlickingMotionEnded).
//
// The inertial run steps on the one-shot timer's thread; the settle run
// after a slow gesture steps on window-timer ticks, so each of its steps is
// painted and reaches the screen. The window waits for a running inertial
// run to end before it goes.

#include <atomic>
#include <cstdint>
#include <memory>

#include "controls/flicking_state.h"
#include "platform/ui/window.h"

namespace brantel {

inline constexpr WPARAM kFlickingMotionEnded = 0x1146;
// The window timer that steps a settle run.
inline constexpr uintptr_t kFlickingSettleTimer = 9010;

class CFlickingCtrl : public Window {
 public:
  CFlickingCtrl();
  ~CFlickingCtrl() override;

  // The window that gets WM_FLICKING_SCROLLED (the control itself when 0).
  void SetTargetWindow(HWND target) { target_ = target; }
  // Ends a running inertial run after its coasting phase.
  void RequestStop() { state_.stop_request = true; }

  int VerticalPosition() const { return state_.vertical().position; }
  void SetVerticalPosition(int position) { state_.vertical().position = position; }
  const FlickingState& flicking() const { return state_; }
  FlickingState& flicking() { return state_; }
  // True while an inertial or settle run moves the list.
  bool IsMoving() const { return animation_timer_ != 0 || settle_run_ != nullptr; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // The pointer steps, for derived windows that add their own handling.
  void FingerDown(Point client);
  void FingerMove();
  void FingerUp(Point client);
  // Kills the inertial run's timer and posts the end of the motion.
  void StopMotion();
  // Sets the vertical extent and view (the content height and the visible height).
  void SetVerticalRange(int extent, int view);
  HWND target() const { return target_ ? target_ : hwnd(); }
  // Ends any run at once (the window is going or the content was replaced).
  void AbortMotion();

 private:
  void StartInertialRun(FlickAxisId axis);
  void StartSettleRun(FlickAxisId axis);
  void SettleTick();

  FlickingState state_;
  HWND target_ = 0;
  std::atomic<uint32_t> animation_timer_{0};
  std::atomic<bool> abort_{false};
  std::unique_ptr<FlickRun> inertial_run_;
  std::unique_ptr<FlickRun> settle_run_;
};

}  // namespace brantel
