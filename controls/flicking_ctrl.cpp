#include "controls/flicking_ctrl.h"

#include <chrono>
#include <thread>

#include "platform/debug.h"
#include "platform/ui/clock.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/multimedia_timer.h"
#include "platform/ui/pointer.h"
#include "platform/ui/app_messages.h"

namespace brantel {

CFlickingCtrl::CFlickingCtrl() = default;

CFlickingCtrl::~CFlickingCtrl() { AbortMotion(); }

void CFlickingCtrl::SetVerticalRange(int extent, int view) {
  state_.vertical().extent = extent;
  state_.vertical().view = view;
}

void CFlickingCtrl::AbortMotion() {
  // The run's thread checks abort_ between ticks; killing the timer waits
  // for a callback that already runs, so nothing of this window is touched
  // after this returns.
  abort_ = true;
  if (const uint32_t id = animation_timer_.exchange(0)) KillOneShotTimer(id);
  abort_ = false;
  inertial_run_.reset();
  if (settle_run_) {
    settle_run_.reset();
    if (IsAlive()) KillTimer(kFlickingSettleTimer);
  }
}

void CFlickingCtrl::StopMotion() {
  if (const uint32_t id = animation_timer_.exchange(0)) KillOneShotTimer(id);
  brantel::PostMessage(target(), WM_FLICKING_SCROLLED, kFlickingMotionEnded, 0);
}

void CFlickingCtrl::FingerDown(Point client) {
  if (!state_.Press(client, GetTickCount())) return;
  // A settle run in progress gives way to the finger.
  if (settle_run_) {
    settle_run_.reset();
    KillTimer(kFlickingSettleTimer);
  }
  SetCapture(hwnd());
}

void CFlickingCtrl::FingerMove() {
  if (!state_.dragging) return;
  Point raw[kMaxMouseMovePoints];
  uint32_t count = 0;
  if (!GetMouseMovePoints(raw, kMaxMouseMovePoints, &count) || count == 0) {
    DebugOutput("\n[WOW]Mouse Move Fail !!\n");
    return;
  }
  Point points[kMaxMouseMovePoints];
  for (uint32_t i = 0; i < count; ++i) points[i] = ScreenToClient(Point{raw[i].x / 4, raw[i].y / 4});
  const int changes = state_.Move(std::span<const Point>(points, count), GetTickCount());
  for (int i = 0; i < changes; ++i) brantel::PostMessage(target(), WM_FLICKING_SCROLLED, 0, 0);
}

void CFlickingCtrl::FingerUp(Point client) {
  if (GetCapture() == hwnd()) ReleaseCapture();
  FlickAxisId axis = FlickAxisId::kVertical;
  switch (state_.Release(client, GetTickCount(), &axis)) {
    case FlickRelease::kTap:
      brantel::PostMessage(target(), WM_FLICKING_SCROLLED, kFlickingMotionEnded, 0);
      break;
    case FlickRelease::kInertial:
      StartInertialRun(axis);
      break;
    case FlickRelease::kSettle:
      StartSettleRun(axis);
      break;
    case FlickRelease::kNone:
      break;
  }
}

void CFlickingCtrl::StartInertialRun(FlickAxisId axis) {
  AbortMotion();
  inertial_run_ = std::make_unique<FlickRun>(state_, axis, FlickRun::Kind::kInertial);
  FlickRun* run = inertial_run_.get();
  const HWND notify = target();
  // The run sleeps on the timer's thread in real time between its ticks and
  // talks to the window only by posting.
  animation_timer_ = StartOneShotTimer(1, [this, run, notify](uint32_t id) {
    int sleep_ms = 0;
    while (!abort_ && run->Tick(&sleep_ms)) {
      brantel::PostMessage(notify, WM_FLICKING_SCROLLED, 0, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(sleep_ms));
    }
    if (abort_) return;
    uint32_t expected = id;
    animation_timer_.compare_exchange_strong(expected, 0);
    brantel::PostMessage(notify, WM_FLICKING_SCROLLED, kFlickingMotionEnded, 0);
  });
}

void CFlickingCtrl::StartSettleRun(FlickAxisId axis) {
  AbortMotion();
  settle_run_ = std::make_unique<FlickRun>(state_, axis, FlickRun::Kind::kSettle);
  SettleTick();
}

void CFlickingCtrl::SettleTick() {
  int sleep_ms = 0;
  if (settle_run_ && settle_run_->Tick(&sleep_ms)) {
    brantel::PostMessage(target(), WM_FLICKING_SCROLLED, 0, 0);
    SetTimer(kFlickingSettleTimer, uint32_t(sleep_ms));
    return;
  }
  if (settle_run_) {
    settle_run_.reset();
    KillTimer(kFlickingSettleTimer);
  }
  StopMotion();
}

LRESULT CFlickingCtrl::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      FingerDown(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSEMOVE:
      FingerMove();
      return 0;
    case WM_LBUTTONUP:
      FingerUp(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_TIMER:
      if (wParam == kFlickingSettleTimer) {
        SettleTick();
        return 0;
      }
      break;
    case WM_DESTROY:
      AbortMotion();
      break;
    default:
      break;
  }
  return DefWindowProc(message, wParam, lParam);
}

}  // namespace brantel
