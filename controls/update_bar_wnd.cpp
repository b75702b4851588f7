#include "controls/update_bar_wnd.h"

#include "controls/buffered_paint.h"
#include "controls/image_drawing.h"
#include "controls/update_bar_state.h"
#include "controls/viewer_fonts.h"
#include "protocol/app_messages.h"

namespace brantel {

CUpdateBarWnd::~CUpdateBarWnd() {
  // Deleted without WM_DESTROY: the thread must end before frame_ goes.
  animation_.Stop(kUpdateBarStopWaitMs);
}

bool CUpdateBarWnd::Create(const Rect& rect, Window* parent, intptr_t owner, int id, uint32_t style) {
  owner_ = owner;
  library_ = ProcessResources();
  return Window::Create(kUpdateBarClass, u"", style, rect, parent, id);
}

void CUpdateBarWnd::SetLastUpdate(WideView text) {
  last_update_ = WideText(text);
  Invalidate();
}

void CUpdateBarWnd::StartAnimation() {
  StopAnimation();
  frame_ = 0;
  const HWND window = hwnd();
  animation_.Start([this, window](WorkerThread& self) {
    while (!self.StopRequested()) {
      frame_ = NextUpdateBarFrame(frame_);
      InvalidateRect(window, nullptr);
      if (!self.SleepFor(kUpdateBarFrameMs)) break;
    }
  });
}

void CUpdateBarWnd::StopAnimation() {
  frame_ = kUpdateBarIdleFrame;
  animation_.Stop(kUpdateBarStopWaitMs);
  Invalidate();
}

void CUpdateBarWnd::DrawBar(DeviceContext& dc, const Rect& client) {
  dc.FillSolid(client, 0x000000);
  DrawResourcePicture(dc, 0, 0, client.Width(), client.Height(), library_, kUpdateBarBackgroundPicture);
  const Rect logo = kUpdateBarLogoRect;
  DrawResourcePicture(dc, logo.left, logo.top, logo.Width(), logo.Height(), library_, kUpdateBarLogoPicture);
  dc.SelectFont(ViewerFont(20));
  dc.SetTextColor(kUpdateBarTextColor);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(UpdateBarText(last_update_), kUpdateBarTextRect, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);

  const Rect square = UpdateBarAnimationRect(client.Height());
  const int frame = frame_;
  if (animation_.Running() && frame >= 0 && frame < kUpdateBarFrameCount) {
    DrawResourcePicture(dc, square.left, square.top, square.Width(), square.Height(), library_,
                        kUpdateBarFirstFramePicture + uint32_t(frame));
  } else {
    dc.FillSolid(square, 0x000000);
  }
}

void CUpdateBarWnd::Paint() {
  PaintBuffered(*this, buffer_, [this](DeviceContext& dc, const Rect& client) { DrawBar(dc, client); });
}

LRESULT CUpdateBarWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LIST_UPDATE_BEGIN:
      StartAnimation();
      return 0;
    case WM_LIST_UPDATE_END:
      StopAnimation();
      return 0;
    case WM_DESTROY:
      StopAnimation();
      return DefWindowProc(message, wParam, lParam);
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
