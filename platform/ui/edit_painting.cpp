#include "platform/ui/edit_painting.h"

#include <algorithm>

namespace brantel {
namespace {

struct LinePainter {
  DeviceContext& dc;
  const EditModel& model;
  const EditColors& colors;
  bool show_selection;
  int y;
  int height;

  // Draws text_[from, to) from x on; returns the x after it.
  int Run(size_t from, size_t to, int x) {
    const WideView text = model.text();
    const size_t sel_from = show_selection ? model.sel_start() : 0, sel_to = show_selection ? model.sel_end() : 0;
    while (from < to) {
      const bool selected = from >= sel_from && from < sel_to;
      size_t stop = to;
      if (selected) stop = std::min(to, sel_to);
      else if (sel_from > from && sel_from < to) stop = sel_from;
      const int w = model.Width(from, stop);
      const WideView piece = text.substr(from, stop - from);
      if (selected) dc.FillSolid(Rect{x, y, x + w, y + height}, kEditSelectionBack);
      else if (colors.background != colors.brush.color) dc.FillSolid(Rect{x, y, x + w, y + height}, colors.background);
      dc.SetTextColor(selected ? kEditSelectionText : colors.text);
      dc.TextOut(x, y, piece);
      x += w;
      from = stop;
    }
    return x;
  }
};

}  // namespace

void PaintEdit(DeviceContext& dc, const Rect& client, const EditModel& model, const Font& font,
               const EditColors& colors, bool focused, bool caret_on) {
  dc.FillRect(client, colors.brush);
  dc.SelectFont(font);
  dc.SetBkMode(TRANSPARENT);
  const int h = model.line_height();
  const int top = model.multiline() ? 0 : std::max(0, (client.Height() - h) / 2);
  const size_t caret_line = model.LineOf(model.caret());
  LinePainter painter{dc, model, colors, focused, top, h};
  const auto& lines = model.lines();
  for (size_t i = size_t(model.top_line()); i < lines.size(); ++i) {
    painter.y = top + int(i - size_t(model.top_line())) * h;
    if (painter.y >= client.bottom) break;
    const EditModel::Line& line = lines[i];
    int x = -model.scroll_x();
    if (i != caret_line) {
      painter.Run(line.begin, line.caret_end, x);
      continue;
    }
    x = painter.Run(line.begin, model.caret(), x);
    if (!model.composition().empty()) {
      const int w = model.CompositionWidth();
      dc.SetTextColor(colors.text);
      dc.TextOut(x, painter.y, model.composition());
      dc.FillSolid(Rect{x, painter.y + h - 2, x + w, painter.y + h - 1}, colors.text);
      x += w;
    }
    if (focused && caret_on) dc.FillSolid(Rect{x, painter.y, x + EditModel::kCaretWidth, painter.y + h}, colors.text);
    painter.Run(model.caret(), line.caret_end, x);
  }
}

}  // namespace brantel
