#include "app/detail/detail_panel.h"

#include <algorithm>
#include <cstdlib>

#include "app/detail/detail_rules.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "protocol/app_messages.h"

namespace brantel {

bool CMStockDetailWnd::Create(const Rect& rect, Window* dialog, const ResourceLibraryRef& library) {
  dialog_ = dialog ? dialog->hwnd() : 0;
  library_ = library;
  SetTargetWindow(0);
  return Window::Create(u"Stock Detail Window", kStockDetailWindowName, WS_VISIBLE, rect, dialog, 0);
}

void CMStockDetailWnd::SetContent(const StockDetailRecord* record, const std::vector<StockRecord>* daily,
                                  const bool* full_quote) {
  record_ = record;
  daily_ = daily;
  full_quote_ = full_quote;
}

void CMStockDetailWnd::SetSmallChart(Surface chart) {
  small_chart_ = std::move(chart);
  Invalidate();
}

void CMStockDetailWnd::Layout() {
  const int view = ClientRect().Height();
  content_height_ = DetailContentHeight(daily_ ? int(daily_->size()) : 0, view);
  thumb_.length = DetailThumbLength(view, content_height_);
  SetVerticalRange(content_height_, view);
  ScrollTo(VerticalPosition());
}

void CMStockDetailWnd::ScrollTo(int position) {
  SetVerticalPosition(std::clamp(position, 0, std::max(content_height_ - ClientRect().Height(), 0)));
  Invalidate();
}

void CMStockDetailWnd::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  const Rect client = ClientRect();
  // Off-screen first, then one copy, as every panel of the viewer paints.
  Surface buffer(client.Width(), client.Height());
  DeviceContext dc(buffer);
  PaintDetailPanel(dc, Size{client.Width(), client.Height()}, VerticalPosition(), content_height_,
                   DetailPanelContent{record_, daily_, &small_chart_, !full_quote_ || *full_quote_}, thumb_, library_);
  paint.dc().BitBlt(0, 0, client.Width(), client.Height(), buffer, 0, 0);
}

void CMStockDetailWnd::OnScrolled(WPARAM kind) {
  if (kind == kFlickingMotionEnded) {
    thumb_.alpha = 255;
    SetTimer(kThumbFadeTimer, 3);
  }
  Invalidate();
}

LRESULT CMStockDetailWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      KillTimer(kThumbFadeTimer);
      thumb_.alpha = 255;
      thumb_.hidden = false;
      down_ = p;
      pressed_on_chart_ = SmallChartTapRect().Contains(p);
      break;
    case WM_LBUTTONUP: {
      const bool tap = std::abs(p.x - down_.x) < 16 && std::abs(p.y - down_.y) < 16;
      if (pressed_on_chart_ && tap && SmallChartTapRect().Contains(p)) PostMessage(dialog_, WM_SHOW_LANDSCAPE, 0, 0);
      pressed_on_chart_ = false;
      break;
    }
    case WM_TIMER:
      if (wParam == kThumbFadeTimer) {
        thumb_.alpha -= 30;
        if (thumb_.alpha <= 30) {
          KillTimer(kThumbFadeTimer);
          thumb_.alpha = 255;
          thumb_.hidden = true;
        }
        Invalidate();
        return 0;
      }
      break;
    default:
      if (message == WM_FLICKING_SCROLLED) {
        OnScrolled(wParam);
        return 0;
      }
      break;
  }
  return CFlickingCtrl::WindowProc(message, wParam, lParam);
}

}  // namespace brantel
