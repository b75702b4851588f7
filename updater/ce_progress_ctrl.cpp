#include "updater/ce_progress_ctrl.h"

#include "controls/image_drawing.h"
#include "platform/ui/paint.h"

namespace brantel {

int FilledWidth(const ProgressBarLook& look, int width) {
  const int range = look.maximum - look.minimum;
  if (range <= 0 || width <= 0) return 0;
  const int pos = std::clamp(look.position, look.minimum, look.maximum);
  return int(int64_t(width) * (pos - look.minimum) / range);
}

void PaintProgressBar(DeviceContext& dc, const Rect& rect, const ProgressBarLook& look, const Surface& fill,
                      const Font& font) {
  const int filled = FilledWidth(look, rect.Width());
  const Rect done{rect.left, rect.top, rect.left + filled, rect.bottom};
  const Rect rest{rect.left + filled, rect.top, rect.right, rect.bottom};
  if (filled > 0) {
    if (look.image_style && !fill.empty()) {
      dc.SetClipRect(done);
      for (int y = rect.top; y < rect.bottom; y += fill.height()) TileImage(dc, rect.left, y, filled, fill);
      dc.ResetClip();
    } else {
      dc.FillSolid(done, look.fill_color);
    }
  }
  dc.FillSolid(rest, look.background);
  if (look.text.empty()) return;
  if (font) dc.SelectFont(font);
  dc.SetBkMode(TRANSPARENT);
  constexpr unsigned kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  // The same centred text twice, each clipped to its part of the bar.
  if (filled > 0) {
    dc.SetClipRect(done);
    dc.SetTextColor(look.text_over_fill);
    dc.DrawText(look.text, rect, kFormat);
    dc.ResetClip();
  }
  if (!rest.IsEmpty()) {
    dc.SetClipRect(rest);
    dc.SetTextColor(look.text_over_rest);
    dc.DrawText(look.text, rect, kFormat);
    dc.ResetClip();
  }
}

bool CCeProgressCtrl::Create(const Rect& rect, Window* parent, int id) {
  return Window::Create(u"CCeProgressCtrl", u"", WS_VISIBLE, rect, parent, id);
}

void CCeProgressCtrl::SetRange(int minimum, int maximum) {
  look_.minimum = minimum;
  look_.maximum = maximum;
  Invalidate();
}

void CCeProgressCtrl::SetPos(int position) {
  if (look_.position == position) return;
  look_.position = position;
  Invalidate();
}

void CCeProgressCtrl::SetText(WideView text) {
  if (look_.text == text) return;
  look_.text = WideText(text);
  Invalidate();
}

void CCeProgressCtrl::SetColors(COLORREF background, COLORREF text_over_fill, COLORREF text_over_rest) {
  look_.background = background;
  look_.text_over_fill = text_over_fill;
  look_.text_over_rest = text_over_rest;
  Invalidate();
}

LRESULT CCeProgressCtrl::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintScope paint(*this);
    if (paint.visible()) PaintProgressBar(paint.dc(), ClientRect(), look_, fill_, font_);
    return 0;
  }
  return DefWindowProc(message, wParam, lParam);
}

}  // namespace brantel
