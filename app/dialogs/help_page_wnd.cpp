#include "app/dialogs/help_page_wnd.h"

#include <algorithm>

#include "app/dialogs/help_text.h"
#include "controls/buffered_paint.h"
#include "controls/image_drawing.h"
#include "controls/mobile_list_layout.h"
#include "controls/viewer_fonts.h"
#include "platform/resources/resource_library.h"
#include "protocol/app_messages.h"

namespace brantel {
namespace {

constexpr uint32_t kPanelMiddlePicture = 1090;
constexpr uint32_t kBulletPicture = 1094;
constexpr uint32_t kThumbTop = 1026, kThumbBody = 1028, kThumbBottom = 1027;
constexpr int kThumbCap = 8;
constexpr int kPanelOffsetX = 5;  // the page starts 5 pixels into the panel
constexpr int kFadeStep = 15;

}  // namespace

bool CHelpPageWnd::Create(const Rect& rect, Window* parent) {
  if (!Window::Create(u"Stock Help Page Window", u"Stock Help Page Window", WS_VISIBLE, rect, parent, 0)) return false;
  SetVerticalRange(kHelpContentHeight, rect.Height());
  return true;
}

LRESULT CHelpPageWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      KillTimer(kHelpThumbFadeTimer);
      thumb_alpha_ = 255;
      Invalidate();
      break;
    case WM_FLICKING_SCROLLED:
      thumb_alpha_ = 255;
      if (wParam == kFlickingMotionEnded) SetTimer(kHelpThumbFadeTimer, 3);
      Invalidate();
      return 0;
    case WM_TIMER:
      if (wParam == kHelpThumbFadeTimer) {
        thumb_alpha_ = std::max(0, thumb_alpha_ - kFadeStep);
        if (thumb_alpha_ == 0) KillTimer(kHelpThumbFadeTimer);
        Invalidate();
        return 0;
      }
      break;
    default:
      break;
  }
  return CFlickingCtrl::WindowProc(message, wParam, lParam);
}

void CHelpPageWnd::Paint() {
  PaintBuffered(*this, buffer_, [this](DeviceContext& dc, const Rect& client) { DrawPage(dc, client); });
}

void CHelpPageWnd::DrawPage(DeviceContext& dc, const Rect& client) {
  const ResourceLibraryRef lib = ProcessResources();
  dc.FillSolid(client, RGB(0x20, 0x20, 0x20));
  DrawResourcePicture(dc, -kPanelOffsetX, 0, 445, client.Height(), lib, kPanelMiddlePicture);
  const int position = VerticalPosition();
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  for (const HelpRow& row : HelpRows()) {
    const int top = row.top - position;
    if (top + kHelpRowHeight <= 0 || top >= client.bottom) continue;
    if (row.heading) {
      DrawResourcePicture(dc, 20, top, 30, 30, lib, kBulletPicture);
      dc.SelectFont(ViewerFont(28));
      dc.DrawText(row.text, Rect{50, top, 440, top + kHelpRowHeight}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else {
      dc.SelectFont(ViewerFont(22));
      dc.DrawText(row.text, Rect{20, top, 440, top + kHelpRowHeight}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  if (thumb_alpha_ <= 0) return;
  const ThumbGeometry thumb = ComputeThumb(client.Height(), kHelpContentHeight, position, kHelpRowHeight);
  const int height = thumb.bottom - thumb.top;
  if (thumb.length <= 0 || height <= 0) return;
  if (thumb_.width() != kHelpThumbWidth || thumb_.height() != height) {
    thumb_.Resize(kHelpThumbWidth, height);
    thumb_.Fill(0);
    DeviceContext t(thumb_);
    const int cap = std::min(kThumbCap, height / 2);
    DrawResourcePicture(t, 0, 0, kHelpThumbWidth, cap, lib, kThumbTop);
    DrawResourcePicture(t, 0, cap, kHelpThumbWidth, height - 2 * cap, lib, kThumbBody);
    DrawResourcePicture(t, 0, height - cap, kHelpThumbWidth, cap, lib, kThumbBottom);
  }
  dc.AlphaBlend(client.right - kHelpThumbWidth, thumb.top, kHelpThumbWidth, height, thumb_, 0, 0, kHelpThumbWidth,
                height, BlendFunction{uint8_t(thumb_alpha_), AC_SRC_ALPHA});
}

}  // namespace brantel
