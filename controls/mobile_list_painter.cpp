#include "controls/mobile_list_painter.h"

#include <algorithm>

#include "controls/image_drawing.h"

namespace brantel {
namespace {

constexpr int kPinnedBufferHeight = 100;
constexpr int kThumbCap = 8;
// Word break, edit control, word ellipsis: a name too wide for its cell.
constexpr unsigned kWrappedName = DT_WORDBREAK | DT_EDITCONTROL | DT_WORD_ELLIPSIS;

void EnsureSize(Surface& surface, int width, int height) {
  if (surface.width() != width || surface.height() != height) surface.Resize(width, height);
}

// The frame every list on this thread paints into. A frame is painted whole
// and copied out at once, so nothing in it outlives one paint, and a list
// that is not painting (a hidden screen's) holds no frame of its own. It only
// grows, so lists of different sizes do not reallocate it in turn.
Surface& SharedFrame(int width, int height) {
  thread_local Surface frame;
  if (frame.width() < width || frame.height() < height)
    frame.Resize(std::max(frame.width(), width), std::max(frame.height(), height));
  return frame;
}

}  // namespace

void MobileListPainter::PaintRow(DeviceContext& dc, MobileListRow& row, int y, int width,
                                 const MobileListMetrics& metrics, const MobileListLook& look, bool highlighted) {
  const Rect frame{0, y, width, y + metrics.RowHeight(row)};
  if (look.row_background) StretchImage(dc, frame, *look.row_background);
  if (highlighted) {
    if (look.selection_image)
      DrawImage(dc, 0, y, *look.selection_image);
    else
      dc.FillSolid(frame, look.selection_color);
  }
  for (auto& cell : row.cells) {
    const Rect rect = cell.rect.Offset(0, y);
    if (cell.image_mode) {
      if (cell.bitmap)
        StretchImage(dc, rect, *cell.bitmap);
      else if (look.draw_picture && cell.image_id)
        look.draw_picture(dc, cell.image_id, rect);
      continue;
    }
    const WideView text = cell.text();
    if (text.empty()) continue;
    dc.SelectFont(cell.font);
    dc.SetTextColor(highlighted ? cell.selected_color : cell.text_color);
    if (cell.text_width < 0) cell.text_width = dc.GetTextExtent(text).cx;
    unsigned format = cell.format;
    if (cell.cell_id == 0 && cell.text_width > rect.Width())
      format = kWrappedName | (cell.format & (DT_CENTER | DT_RIGHT | DT_NOPREFIX));
    dc.DrawText(text, rect, format);
  }
}

void MobileListPainter::Paint(DeviceContext& window, MobileListRows& rows, const MobileListMetrics& metrics,
                              const MobileListLook& look, const MobileListFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0) return;
  Surface& buffer = SharedFrame(frame.width, frame.height);
  DeviceContext dc(buffer);
  dc.SetBkMode(TRANSPARENT);
  const Rect client{0, 0, frame.width, frame.height};
  if (look.background_bitmap)
    StretchImage(dc, client, *look.background_bitmap);
  else
    dc.FillSolid(client, look.background);

  const int highlighted = frame.pressed >= 0 ? frame.pressed : frame.selected;
  auto& all = rows.rows();
  const int separator = std::max(metrics.separator_width, 0);
  // Rows above the view are skipped; their tops say where the first one is.
  for (size_t i = FirstRowBelow(all, metrics, frame.position - separator); i < all.size(); ++i) {
    MobileListRow& row = all[i];
    const int y = row.top - frame.position;
    if (y >= frame.height) break;
    const int height = metrics.RowHeight(row);
    if (y + height + separator <= 0) continue;
    const bool lit = !frame.edit_lock && !row.section && int(i) == highlighted;
    PaintRow(dc, row, y, frame.width, metrics, look, lit);
    if (separator > 0) {
      const int sy = y + height;
      if (look.separator.style != PS_NULL) dc.FillSolid(Rect{0, sy, frame.width, sy + separator}, look.separator.color);
    }
  }
  PaintPinnedHeader(dc, rows, metrics, look, frame);
  PaintThumb(dc, metrics, look, frame);
  window.BitBlt(0, 0, frame.width, frame.height, buffer, 0, 0);
}

void MobileListPainter::PaintPinnedHeader(DeviceContext& dc, MobileListRows& rows, const MobileListMetrics& metrics,
                                          const MobileListLook& look, const MobileListFrame& frame) {
  const PinnedHeader pinned = FindPinnedHeader(rows, metrics, frame.position);
  if (pinned.row < 0) return;
  MobileListRow& row = *rows.row(pinned.row);
  const int height = std::min(metrics.RowHeight(row), kPinnedBufferHeight);
  if (pinned_row_ != pinned.row || pinned_.width() != frame.width || pinned_.height() != height) {
    EnsureSize(pinned_, frame.width, height);
    DeviceContext buffer(pinned_);
    buffer.SetBkMode(TRANSPARENT);
    buffer.FillSolid(pinned_.bounds(), look.background);
    PaintRow(buffer, row, 0, frame.width, metrics, look, false);
    pinned_row_ = pinned.row;
  }
  dc.BitBlt(0, pinned.offset, frame.width, height, pinned_, 0, 0);
}

void MobileListPainter::PaintThumb(DeviceContext& dc, const MobileListMetrics& metrics, const MobileListLook& look,
                                   const MobileListFrame& frame) {
  if (!look.scroll_bar || frame.thumb_hidden || look.thumb_width <= 0) return;
  const ThumbGeometry thumb = ComputeThumb(frame.height, frame.content, frame.position, metrics.default_row_height);
  if (thumb.length <= 0 || thumb.bottom <= thumb.top) return;
  const int width = look.thumb_width;
  const int height = thumb.bottom - thumb.top;
  if (frame.thumb_alpha >= 255 || thumb_.height() != height || thumb_.width() != width) {
    // Rendered afresh at full alpha; the fade blends this picture.
    EnsureSize(thumb_, width, height);
    thumb_.Fill(0);
    DeviceContext buffer(thumb_);
    if (look.thumb_top && look.thumb_body && look.thumb_bottom) {
      const int cap = std::min(kThumbCap, height / 2);
      StretchImage(buffer, Rect{0, 0, width, cap}, *look.thumb_top);
      StretchImage(buffer, Rect{0, cap, width, height - cap}, *look.thumb_body);
      StretchImage(buffer, Rect{0, height - cap, width, height}, *look.thumb_bottom);
    } else {
      buffer.FillSolid(thumb_.bounds(), look.thumb_color);
    }
  }
  const uint8_t alpha = uint8_t(std::clamp(frame.thumb_alpha, 0, 255));
  dc.AlphaBlend(frame.width - width, thumb.top, width, height, thumb_, 0, 0, width, height,
                BlendFunction{alpha, AC_SRC_ALPHA});
}

}  // namespace brantel
