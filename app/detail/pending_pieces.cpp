#include "app/detail/pending_pieces.h"

#include <algorithm>

#include "controls/viewer_fonts.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "protocol/app_messages.h"

namespace brantel {

LRESULT CFlickingCtrl::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_LBUTTONDOWN:
      down_ = last_ = p;
      dragging_ = true;
      SetCapture(hwnd());
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) {
        position_ = std::clamp(position_ - (p.y - last_.y), 0, std::max(extent_ - view_, 0));
        last_ = p;
        PostMessage(target(), WM_FLICKING_SCROLLED, 0, 0);
      }
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) ReleaseCapture();
      dragging_ = false;
      PostMessage(target(), WM_FLICKING_SCROLLED, kFlickingMotionEnded, 0);
      return 0;
  }
  return Window::WindowProc(message, wParam, lParam);
}

void WorkerThread::Start(std::function<void(WorkerThread&)> body, bool suspended) {
  suspended_ = suspended;
  thread_ = std::thread([this, body = std::move(body)] { body(*this); });
}

bool WorkerThread::SleepFor(int ms) {
  std::unique_lock lock(mutex_);
  wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_.load(); });
  return !stop_;
}

void WorkerThread::Suspend() { suspended_ = true; }

void WorkerThread::Resume() {
  std::lock_guard lock(mutex_);
  suspended_ = false;
  wake_.notify_all();
}

void WorkerThread::WaitWhileSuspended() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return !suspended_ || stop_; });
}

void WorkerThread::Stop(int) {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    wake_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
}

void DrawAndPresent(HWND hwnd, const Rect& client_rect, const std::function<void(DeviceContext&)>&) {
  InvalidateRect(hwnd, &client_rect);
}

bool CMenuBarWnd::Create(const Rect& rect, Window* owner, int id) {
  return Window::Create(u"Menu Bar Window", u"", WS_VISIBLE, rect, owner, id);
}

void CMenuBarWnd::ShowMenu(int, bool) { Invalidate(); }

LRESULT CMenuBarWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintScope paint(*this);
    DeviceContext& dc = paint.dc();
    dc.FillSolid(ClientRect(), 0x202020);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectFont(ViewerFont(24));
    dc.SetTextColor(0xFFFFFF);
    const Rect r = ClientRect();
    dc.DrawText(u"닫기", Rect{0, 0, r.right / 2, r.bottom}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.DrawText(u"메뉴", Rect{r.right / 2, 0, r.right, r.bottom}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return 0;
  }
  if (message == WM_LBUTTONUP && GET_X_LPARAM(lParam) < ClientRect().right / 2 && parent()) {
    parent()->Post(WM_COMMAND, 40017, 0);
    return 0;
  }
  return Window::WindowProc(message, wParam, lParam);
}

int ShowNumberedMessage(Window*, int, int) { return 1; }

}  // namespace brantel
