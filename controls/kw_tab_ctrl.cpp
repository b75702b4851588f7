#include "controls/kw_tab_ctrl.h"

#include "controls/buffered_paint.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/app_messages.h"

namespace brantel {

bool CKWTabCtrl::Create(const Rect& rect, Window* notify, ResourceLibraryRef library, int id, uint32_t style) {
  notify_ = notify ? notify->hwnd() : 0;
  library_ = std::move(library);
  return Window::Create(kTabCtrlClass, u"", style, rect, notify, id);
}

void CKWTabCtrl::AddTab(int tab_id, const Rect& tab_rect, const Rect& icon_rect, const Rect& text_rect,
                        WideView text, uint32_t normal_icon, uint32_t selected_icon, WideView second_text) {
  AddTab(KWTab{tab_id, tab_rect, icon_rect, text_rect, WideText(text), normal_icon, selected_icon,
                WideText(second_text)});
}

void CKWTabCtrl::AddTab(KWTab tab) {
  state_.AddTab(std::move(tab));
  Invalidate();
}

void CKWTabCtrl::SetSelectedIndex(int index) {
  if (state_.SetSelected(index)) Invalidate();
}

void CKWTabCtrl::SetBackground(uint32_t picture) {
  look_.background = picture;
  Invalidate();
}

void CKWTabCtrl::SetHighlight(uint32_t picture, int dx, int dy) {
  look_.highlight = picture;
  look_.highlight_dx = dx;
  look_.highlight_dy = dy;
  Invalidate();
}

void CKWTabCtrl::SetFont(const Font& font) {
  look_.font = font;
  Invalidate();
}

void CKWTabCtrl::SetTextColors(COLORREF normal, COLORREF selected) {
  look_.text_color = normal;
  look_.selected_text_color = selected;
  Invalidate();
}

void CKWTabCtrl::SetTextFormat(unsigned format) {
  look_.text_format = format;
  Invalidate();
}

void CKWTabCtrl::Paint() {
  PaintBuffered(*this, buffer_, [this](DeviceContext& dc, const Rect& client) {
    DrawTabStrip(dc, client, state_, look_, library_);
  });
}

LRESULT CKWTabCtrl::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd());
      if (state_.Press(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) Invalidate();
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() == hwnd()) ReleaseCapture();
      const std::optional<TabSelection> selection = state_.Release(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      Invalidate();
      // Sent last: the notify window may switch screens or destroy the strip.
      if (selection && notify_ != 0)
        brantel::SendMessage(notify_, WM_TAB_SELECTED, WPARAM(selection->index), LPARAM(selection->tab_id));
      return 0;
    }
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
