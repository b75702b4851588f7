#include "controls/kw_tab_ctrl.h"

#include "controls/buffered_paint.h"
#include "controls/image_drawing.h"
#include "platform/ui/message_queue.h"
#include "protocol/app_messages.h"

namespace brantel {

bool CKWTabCtrl::Create(const Rect& rect, Window* notify, ResourceLibraryRef library, int id, uint32_t style) {
  notify_ = notify ? notify->hwnd() : 0;
  library_ = std::move(library);
  return Window::Create(kTabCtrlClass, u"", style, rect, notify, id);
}

void CKWTabCtrl::AddTab(int tab_id, const Rect& tab_rect, const Rect& icon_rect, const Rect& text_rect,
                        WideView text, uint32_t normal_icon, uint32_t selected_icon, WideView second_text) {
  state_.AddTab(KWTab{tab_id, tab_rect, icon_rect, text_rect, WideText(text), normal_icon, selected_icon,
                      WideText(second_text)});
  Invalidate();
}

void CKWTabCtrl::SetSelectedIndex(int index) {
  if (state_.SetSelected(index)) Invalidate();
}

void CKWTabCtrl::SetBackground(uint32_t picture) {
  background_ = picture;
  Invalidate();
}

void CKWTabCtrl::SetHighlight(uint32_t picture, int dx, int dy) {
  highlight_ = picture;
  highlight_dx_ = dx;
  highlight_dy_ = dy;
  Invalidate();
}

void CKWTabCtrl::SetFont(const Font& font) {
  font_ = font;
  Invalidate();
}

void CKWTabCtrl::SetTextColors(COLORREF normal, COLORREF selected) {
  text_color_ = normal;
  selected_text_color_ = selected;
  Invalidate();
}

void CKWTabCtrl::SetTextFormat(unsigned format) {
  text_format_ = format;
  Invalidate();
}

void CKWTabCtrl::DrawStrip(DeviceContext& dc, const Rect& client) {
  dc.FillSolid(client, 0x000000);
  if (background_ && library_) {
    if (std::shared_ptr<const Surface> tile = library_->DecodedPicture(kPictureTypeGif, background_))
      TileImage(dc, 0, 0, client.Width(), *tile);
  }
  if (font_) dc.SelectFont(font_);
  dc.SetBkMode(TRANSPARENT);
  const std::vector<KWTab>& tabs = state_.tabs();
  for (size_t i = 0; i < tabs.size(); ++i) {
    const KWTab& tab = tabs[i];
    const bool lit = state_.Highlighted(int(i));
    if (lit && highlight_) {
      const Rect box = tab.rect.Offset(highlight_dx_, highlight_dy_);
      DrawResourcePicture(dc, box.left, box.top, box.Width(), box.Height(), library_, highlight_);
    }
    const uint32_t icon = lit ? tab.selected_icon : tab.normal_icon;
    if (icon > 0) {
      const Rect box = tab.icon_rect.Offset(tab.rect.left, tab.rect.top);
      DrawResourcePicture(dc, box.left, box.top, box.Width(), box.Height(), library_, icon);
    }
    dc.SetTextColor(lit ? selected_text_color_ : text_color_);
    dc.DrawText(tab.text, tab.text_rect.Offset(tab.rect.left, tab.rect.top), text_format_);
  }
}

void CKWTabCtrl::Paint() {
  PaintBuffered(*this, buffer_, [this](DeviceContext& dc, const Rect& client) { DrawStrip(dc, client); });
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
