// Fills, pixels, lines and blits of the device context. Text is in
// device_context_text.cpp.
#include "platform/gfx/device_context.h"

#include <cstdlib>
#include <cstring>

#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/stretch_sampler.h"

namespace brantel {

DeviceContext::DeviceContext(Surface& target) : DeviceContext(target, Point{}, target.bounds()) {}

DeviceContext::DeviceContext(Surface& target, Point origin, const Rect& device_clip)
    : target_(&target), origin_(origin), base_clip_(device_clip.Intersect(target.bounds())), clip_(base_clip_) {}

Rect DeviceContext::GetClipRect() const { return clip_.Offset(-origin_.x, -origin_.y); }

void DeviceContext::SetClipRect(const Rect& logical) { clip_ = ToDevice(logical).Intersect(base_clip_); }

void DeviceContext::FillSolid(const Rect& r, COLORREF color) {
  const Rect d = ToDevice(r).Intersect(clip_);
  if (d.IsEmpty()) return;
  const uint32_t pixel = ColorRefToPixel(color);
  for (int y = d.top; y < d.bottom; ++y) pixel_ops::FillRow(target_->row(y) + d.left, d.Width(), pixel);
}

void DeviceContext::BlendSolid(const Rect& r, COLORREF color, uint8_t alpha) {
  const Rect d = ToDevice(r).Intersect(clip_);
  if (d.IsEmpty()) return;
  const uint32_t pixel = ColorRefToPixel(color);
  for (int y = d.top; y < d.bottom; ++y) pixel_ops::BlendSolidRow(target_->row(y) + d.left, d.Width(), pixel, alpha);
}

COLORREF DeviceContext::GetPixel(int x, int y) const {
  const Point p{x + origin_.x, y + origin_.y};
  if (!clip_.Contains(p)) return CLR_INVALID;
  return PixelToColorRef(target_->at(p.x, p.y));
}

void DeviceContext::SetPixel(int x, int y, COLORREF color) {
  const Point p{x + origin_.x, y + origin_.y};
  if (clip_.Contains(p)) target_->set(p.x, p.y, ColorRefToPixel(color));
}

// ---- lines ----

Pen DeviceContext::SelectPen(const Pen& pen) {
  Pen old = pen_;
  pen_ = pen;
  if (pen_.width < 1) pen_.width = 1;
  return old;
}

Point DeviceContext::MoveTo(int x, int y) {
  const Point old = position_;
  position_ = {x, y};
  return old;
}

// Dashes repeat every 24 pen steps (18 on, 6 off), dots every 6 (3 on, 3 off).
void DeviceContext::PlotPenPoint(int dx, int dy, uint32_t pixel, int& dash_step) {
  const int step = dash_step++;
  if (pen_.style == PS_DASH && step % 24 >= 18) return;
  if (pen_.style == PS_DOT && step % 6 >= 3) return;
  if (pen_.width == 1) {
    if (clip_.Contains(dx, dy)) target_->set(dx, dy, pixel);
    return;
  }
  const int half = pen_.width / 2;
  const Rect square = Rect{dx - half, dy - half, dx - half + pen_.width, dy - half + pen_.width}.Intersect(clip_);
  for (int y = square.top; y < square.bottom; ++y) pixel_ops::FillRow(target_->row(y) + square.left, square.Width(), pixel);
}

void DeviceContext::LineTo(int x, int y) {
  const Point from = position_;
  position_ = {x, y};
  if (pen_.style == PS_NULL) return;
  const uint32_t pixel = ColorRefToPixel(pen_.color);
  int x0 = from.x + origin_.x, y0 = from.y + origin_.y;
  const int x1 = x + origin_.x, y1 = y + origin_.y;
  // A solid horizontal or vertical line is a fill.
  if (pen_.style == PS_SOLID && (y0 == y1 || x0 == x1)) {
    const int half = pen_.width / 2;
    Rect line;
    if (y0 == y1)
      line = {std::min(x0, x1 + 1), y0 - half, std::max(x0 + 1, x1), y0 - half + pen_.width};
    else
      line = {x0 - half, std::min(y0, y1 + 1), x0 - half + pen_.width, std::max(y0 + 1, y1)};
    if (x0 == x1 && y0 == y1) return;
    line = line.Intersect(clip_);
    for (int row = line.top; row < line.bottom; ++row)
      pixel_ops::FillRow(target_->row(row) + line.left, line.Width(), pixel);
    return;
  }
  // Bresenham, end point excluded.
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int dash_step = 0;
  while (x0 != x1 || y0 != y1) {
    PlotPenPoint(x0, y0, pixel, dash_step);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void DeviceContext::FrameRect(const Rect& r) {
  if (r.IsEmpty()) return;
  const Point saved = position_;
  MoveTo(r.left, r.top);
  LineTo(r.right - 1, r.top);
  LineTo(r.right - 1, r.bottom - 1);
  LineTo(r.left, r.bottom - 1);
  LineTo(r.left, r.top);
  position_ = saved;
}

// ---- blits ----

void DeviceContext::BitBlt(int x, int y, int width, int height, const Surface& src, int src_x, int src_y) {
  const int dx = x + origin_.x, dy = y + origin_.y;
  // Target area, cut by the clip and by where the source has pixels.
  const Rect d = Rect::FromSize(dx, dy, width, height)
                     .Intersect(clip_)
                     .Intersect(src.bounds().Offset(dx - src_x, dy - src_y));
  if (d.IsEmpty()) return;
  const int shift_x = src_x - dx, shift_y = src_y - dy;
  const size_t bytes = size_t(d.Width()) * sizeof(uint32_t);
  // Copying within one surface downwards must go bottom-up.
  const bool bottom_up = &src == target_ && shift_y < 0;
  for (int k = 0; k < d.Height(); ++k) {
    const int row = bottom_up ? d.bottom - 1 - k : d.top + k;
    std::memmove(target_->row(row) + d.left, src.row(row + shift_y) + d.left + shift_x, bytes);
  }
}

void DeviceContext::BitBlt(int x, int y, int width, int height, const DeviceContext& src, int src_x, int src_y) {
  BitBlt(x, y, width, height, src.surface(), src_x + src.origin_.x, src_y + src.origin_.y);
}

int DeviceContext::SetStretchBltMode(int mode) {
  const int old = stretch_mode_;
  stretch_mode_ = mode == HALFTONE ? HALFTONE : COLORONCOLOR;
  return old;
}

namespace {

// Runs `op(target_row, source_row, count)` over every visible target row of
// a stretched blit. Copies within one surface go through a copy of the source.
template <typename Op>
void ForEachStretchedRow(Surface& target, const Rect& clip, int dx, int dy, int width, int height, const Surface& src,
                         const Rect& source, bool smooth, Op op) {
  if (width <= 0 || height <= 0) return;
  const Rect dest = Rect::FromSize(dx, dy, width, height);
  Surface copy;
  const Surface* from = &src;
  if (&src == &target) {
    copy = src;
    from = &copy;
  }
  StretchSampler sampler(*from, source, dest, clip, smooth);
  if (!sampler.valid()) return;
  const Rect& v = sampler.visible();
  for (int y = v.top; y < v.bottom; ++y) op(target.row(y) + v.left, sampler.Row(y), v.Width());
}

}  // namespace

void DeviceContext::StretchBlt(int x, int y, int width, int height, const Surface& src, int src_x, int src_y,
                               int src_width, int src_height) {
  ForEachStretchedRow(*target_, clip_, x + origin_.x, y + origin_.y, width, height, src,
                      Rect::FromSize(src_x, src_y, src_width, src_height), stretch_mode_ == HALFTONE,
                      [](uint32_t* d, const uint32_t* s, int n) { std::memcpy(d, s, size_t(n) * sizeof(uint32_t)); });
}

void DeviceContext::TransparentBlt(int x, int y, int width, int height, const Surface& src, int src_x, int src_y,
                                   int src_width, int src_height, COLORREF transparent) {
  const uint32_t key = ColorRefToPixel(transparent) & 0x00FFFFFFu;
  ForEachStretchedRow(*target_, clip_, x + origin_.x, y + origin_.y, width, height, src,
                      Rect::FromSize(src_x, src_y, src_width, src_height), false,
                      [key](uint32_t* d, const uint32_t* s, int n) { pixel_ops::ColorKeyRow(d, s, n, key); });
}

void DeviceContext::AlphaBlend(int x, int y, int width, int height, const Surface& src, int src_x, int src_y,
                               int src_width, int src_height, BlendFunction blend) {
  const uint32_t constant = blend.constant_alpha;
  const Rect source = Rect::FromSize(src_x, src_y, src_width, src_height);
  const bool smooth = stretch_mode_ == HALFTONE;
  if (blend.alpha_format & AC_SRC_ALPHA) {
    ForEachStretchedRow(
        *target_, clip_, x + origin_.x, y + origin_.y, width, height, src, source, smooth,
        [constant](uint32_t* d, const uint32_t* s, int n) { pixel_ops::BlendRowPerPixel(d, s, n, constant); });
  } else {
    ForEachStretchedRow(
        *target_, clip_, x + origin_.x, y + origin_.y, width, height, src, source, smooth,
        [constant](uint32_t* d, const uint32_t* s, int n) { pixel_ops::BlendRowConstant(d, s, n, constant); });
  }
}

void DeviceContext::DrawPicture(const Surface& picture, const Rect& dest) {
  if (picture.empty()) return;
  AlphaBlend(dest.left, dest.top, dest.Width(), dest.Height(), picture, 0, 0, picture.width(), picture.height(),
             BlendFunction{255, AC_SRC_ALPHA});
}

}  // namespace brantel
