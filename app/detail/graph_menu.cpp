#include "app/detail/graph_menu.h"

#include "controls/image_drawing.h"
#include "platform/gfx/font.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "protocol/app_messages.h"

namespace brantel {

namespace {

constexpr COLORREF kSeparator = 0x545454;
constexpr int kEdge = kGraphMenuEdge;

const Font& CaptionFont() {
  static const Font font(kGothicFace, 40, FW_NORMAL);
  return font;
}

void PaintFrame(DeviceContext& dc, const Rect& f, const ResourceLibraryRef& lib) {
  const int w = f.Width() - 2 * kEdge, h = f.Height() - 2 * kEdge;
  DrawResourcePicture(dc, f.left, f.top, kEdge, kEdge, lib, 1063);
  DrawResourcePicture(dc, f.left + kEdge, f.top, w, kEdge, lib, 1060);
  DrawResourcePicture(dc, f.right - kEdge, f.top, kEdge, kEdge, lib, 1066);
  DrawResourcePicture(dc, f.left, f.top + kEdge, kEdge, h, lib, 1062);
  DrawResourcePicture(dc, f.left + kEdge, f.top + kEdge, w, h, lib, 1059);
  DrawResourcePicture(dc, f.right - kEdge, f.top + kEdge, kEdge, h, lib, 1065);
  DrawResourcePicture(dc, f.left, f.bottom - kEdge, kEdge, kEdge, lib, 1061);
  DrawResourcePicture(dc, f.left + kEdge, f.bottom - kEdge, w, kEdge, lib, 1058);
  DrawResourcePicture(dc, f.right - kEdge, f.bottom - kEdge, kEdge, kEdge, lib, 1064);
}

}  // namespace

void PaintGraphMenu(DeviceContext& dc, const GraphMenuState& state, const ResourceLibraryRef& lib) {
  const Rect shown = state.shown();
  if (shown.IsEmpty()) return;
  dc.SetClipRect(shown);
  PaintFrame(dc, state.frame(), lib);
  dc.SetBkMode(TRANSPARENT);
  dc.SelectFont(CaptionFont());
  dc.SetTextColor(0xFFFFFF);
  dc.SelectPen(Pen{PS_SOLID, 1, kSeparator});
  for (size_t i = 0; i < state.items().size(); ++i) {
    const Rect r = state.ItemRect(i);
    if (int(i) == state.pressed()) {
      DrawResourcePicture(dc, r.left, r.top, 6, r.Height(), lib, 1068);
      DrawResourcePicture(dc, r.left + 6, r.top, r.Width() - 12, r.Height(), lib, 1067);
      DrawResourcePicture(dc, r.right - 6, r.top, 6, r.Height(), lib, 1069);
    }
    dc.DrawText(state.items()[i].caption, Rect{r.left + 24, r.top, r.right, r.bottom},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (i + 1 < state.items().size()) {
      dc.MoveTo(r.left, r.bottom);
      dc.LineTo(r.right, r.bottom);
    }
  }
  dc.ResetClip();
}

bool CGraphMenuDlg::Create(Window* detail, const ResourceLibraryRef& library, int anchor_right, int top) {
  if (!detail) return false;
  detail_ = detail->hwnd();
  library_ = library;
  state_.emplace(PeriodMenuItems(), anchor_right, top);
  if (!Window::Create(u"CGraphMenuDlg", u"", WS_VISIBLE, detail->ClientRect(), detail, 115)) return false;
  SetTimer(kGraphMenuSlideTimer, 2);
  return true;
}

void CGraphMenuDlg::InvalidateFrame() {
  // The detail repaints under the frame, so a shrinking frame leaves nothing behind.
  const Rect frame = state_->frame();
  if (parent()) parent()->Invalidate(&frame);
}

LRESULT CGraphMenuDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      PaintGraphMenu(paint.dc(), *state_, library_);
      return 0;
    }
    case WM_TIMER:
      if (wParam != kGraphMenuSlideTimer) break;
      if (state_->Tick() && !reported_) {
        reported_ = true;
        KillTimer(kGraphMenuSlideTimer);
        PostMessage(detail_, WM_PERIOD_CHOSEN, 0, 0);
      } else if (!state_->opening() && !state_->closing()) {
        KillTimer(kGraphMenuSlideTimer);
      }
      InvalidateFrame();
      return 0;
    case WM_LBUTTONDOWN:
      state_->Press(p);
      if (state_->closing()) SetTimer(kGraphMenuSlideTimer, 2);
      InvalidateFrame();
      return 0;
    case WM_LBUTTONUP: {
      const int chosen = state_->Release(p);
      InvalidateFrame();
      if (chosen != 0 && !reported_) {
        reported_ = true;
        PostMessage(detail_, WM_PERIOD_CHOSEN, WPARAM(chosen), 0);
      }
      return 0;
    }
  }
  return Window::WindowProc(message, wParam, lParam);
}

}  // namespace brantel
