#include "controls/mobile_list_layout.h"

#include <algorithm>

namespace brantel {

int LayOutRows(std::vector<MobileListRow>& rows, const MobileListMetrics& metrics, int view) {
  int y = 0;
  for (auto& row : rows) {
    row.top = y;
    y += metrics.RowHeight(row) + std::max(metrics.separator_width, 0);
  }
  return std::max(y, view);
}

ThumbGeometry ComputeThumb(int view, int content, int position, int default_row_height) {
  ThumbGeometry thumb;
  if (view >= content || view <= 0) return thumb;
  thumb.length = std::clamp(int(int64_t(view) * view / content), 30, std::max(view - 30, 30));
  const int range = std::max(content - view, std::max(default_row_height, 1));
  thumb.top = std::clamp(int(int64_t(position) * (view - thumb.length) / range), 0, std::max(view - 5, 0));
  thumb.bottom = std::clamp(thumb.top + thumb.length, 5, view);
  return thumb;
}

size_t FirstRowBelow(const std::vector<MobileListRow>& rows, const MobileListMetrics& metrics, int y) {
  auto it = std::partition_point(rows.begin(), rows.end(),
                                 [&](const MobileListRow& r) { return r.top + metrics.RowHeight(r) <= y; });
  return size_t(it - rows.begin());
}

MobileListHit HitTestRows(const std::vector<MobileListRow>& rows, const MobileListMetrics& metrics, int width,
                          int position, Point client) {
  MobileListHit hit;
  if (client.x < 0 || client.x >= width) return hit;
  const int y = client.y + position;
  const size_t i = FirstRowBelow(rows, metrics, y);
  if (i >= rows.size() || y < rows[i].top) return hit;
  const MobileListRow& row = rows[i];
  hit.row = int(i);
  const int row_top = row.top - position;
  for (size_t c = 0; c < row.cells.size(); ++c) {
    if (row.cells[c].rect.Offset(0, row_top).Contains(client)) {
      hit.cell = int(c);
      break;
    }
  }
  return hit;
}

PinnedHeader FindPinnedHeader(const MobileListRows& rows, const MobileListMetrics& metrics, int position) {
  PinnedHeader pinned;
  if (position < 0) return pinned;
  const auto& sections = rows.sections();
  auto next = std::partition_point(sections.begin(), sections.end(),
                                   [&](int r) { return rows.row(r)->top <= position; });
  if (next == sections.begin()) return pinned;
  pinned.row = *(next - 1);
  const int height = metrics.RowHeight(*rows.row(pinned.row));
  if (next != sections.end()) {
    const int gap = rows.row(*next)->top - position;
    if (gap < height) pinned.offset = gap - height;
  }
  return pinned;
}

}  // namespace brantel
