#include "controls/update_bar_wnd.h"

#include "controls/buffered_paint.h"
#include "controls/update_bar_drawing.h"
#include "platform/ui/app_messages.h"

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
  animation_.Stop(kUpdateBarStopWaitMs);
  // After the stop: a step under way would otherwise overwrite the idle frame.
  frame_ = kUpdateBarIdleFrame;
  Invalidate();
}

void CUpdateBarWnd::Paint() {
  PaintBuffered(*this, buffer_, [this](DeviceContext& dc, const Rect& client) {
    // The picture only while the thread runs: a frame left set by a stop
    // that timed out draws the idle square.
    const int frame = animation_.Running() ? frame_.load() : kUpdateBarIdleFrame;
    DrawUpdateBar(dc, client, library_, last_update_, frame);
  });
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
