// Text drawing of the device context: font, colours, DrawText, TextOut.
#include <algorithm>

#include "platform/gfx/device_context.h"
#include "platform/gfx/font_instance.h"
#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/text_layout.h"
#include "platform/gfx/text_runs.h"

namespace brantel {
namespace {

// Draws one line with its top-left at (x, y) in device pixels, clipped to `clip`.
void DrawLine(Surface& target, const Rect& clip, FontInstance& font, const std::u32string& text, int underline, int x,
              int y, int tab_width, uint32_t color) {
  const int baseline = y + font.ascent();
  int pen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    // One look-up gives the advance and the mask; the handle keeps the mask
    // alive even when the cache lets the glyph go meanwhile.
    const GlyphHandle glyph = font.GetGlyph(c);
    const Glyph& g = *glyph;
    const int advance = c == U'\t' ? TextAdvance(font, c, pen, tab_width) : g.advance;
    if (c != U'\t' && g.width > 0) {
      const Rect box = Rect::FromSize(x + pen + g.left, baseline - g.top, g.width, g.height);
      const Rect v = box.Intersect(clip);
      for (int row = v.top; row < v.bottom; ++row) {
        const uint8_t* coverage = g.coverage.data() + size_t(row - box.top) * size_t(g.width) + (v.left - box.left);
        pixel_ops::CoverageRow(target.row(row) + v.left, coverage, v.Width(), color);
      }
    }
    if (int(i) == underline) {
      // The mnemonic's underline, where the font puts underlines, as wide as the character.
      const Rect line =
          Rect::FromSize(x + pen, baseline + font.underline_offset(), advance, font.underline_thickness()).Intersect(clip);
      for (int row = line.top; row < line.bottom; ++row)
        pixel_ops::FillRow(target.row(row) + line.left, line.Width(), color);
    }
    pen += advance;
  }
}

}  // namespace

Font DeviceContext::SelectFont(const Font& font) {
  Font old = font_;
  font_ = font;
  return old;
}

const Font& DeviceContext::font() const { return font_.valid() ? font_ : DefaultFont(); }

COLORREF DeviceContext::SetTextColor(COLORREF color) {
  const COLORREF old = text_color_;
  text_color_ = color & 0xFFFFFF;
  return old;
}

COLORREF DeviceContext::SetBkColor(COLORREF color) {
  const COLORREF old = bk_color_;
  bk_color_ = color & 0xFFFFFF;
  return old;
}

int DeviceContext::SetBkMode(int mode) {
  const int old = bk_mode_;
  bk_mode_ = mode == TRANSPARENT ? TRANSPARENT : OPAQUE;
  return old;
}

int DeviceContext::DrawText(WideView text, Rect& rect, unsigned format) {
  const Font& f = font();
  if (!f.valid()) return 0;
  FontInstance& instance = *f.instance();
  const TextLayout layout = LayoutText(text, rect, format, instance);
  if (format & DT_CALCRECT) {
    rect = layout.bounds;
    return layout.return_value;
  }
  const Rect device_rect = ToDevice(rect);
  const Rect clip = (format & DT_NOCLIP) ? clip_ : device_rect.Intersect(clip_);
  if (clip.IsEmpty()) return layout.return_value;
  const int tab_width = (format & DT_EXPANDTABS) ? 8 * instance.average_char_width() : 0;
  const uint32_t color = ColorRefToPixel(text_color_);
  for (const TextLine& line : layout.lines) {
    const int x = line.x + origin_.x, y = line.y + origin_.y;
    if (y >= clip.bottom || y + layout.line_height <= clip.top) continue;
    if (bk_mode_ == OPAQUE) {
      const Rect box = Rect::FromSize(x, y, line.width, layout.line_height).Intersect(clip);
      for (int row = box.top; row < box.bottom; ++row)
        pixel_ops::FillRow(target_->row(row) + box.left, box.Width(), ColorRefToPixel(bk_color_));
    }
    DrawLine(*target_, clip, instance, line.text, line.underline, x, y, tab_width, color);
  }
  return layout.return_value;
}

void DeviceContext::TextOut(int x, int y, WideView text) {
  const Font& f = font();
  if (!f.valid()) return;
  FontInstance& instance = *f.instance();
  std::u32string line;
  ForEachCodePoint(text, [&](char32_t c) { line.push_back(c); });
  const int dx = x + origin_.x, dy = y + origin_.y;
  if (bk_mode_ == OPAQUE) {
    const Rect box = Rect::FromSize(dx, dy, TextWidth(instance, line, 0), instance.height()).Intersect(clip_);
    for (int row = box.top; row < box.bottom; ++row)
      pixel_ops::FillRow(target_->row(row) + box.left, box.Width(), ColorRefToPixel(bk_color_));
  }
  DrawLine(*target_, clip_, instance, line, -1, dx, dy, 0, ColorRefToPixel(text_color_));
}

Size DeviceContext::GetTextExtent(WideView text) const { return font().MeasureText(text); }

}  // namespace brantel
