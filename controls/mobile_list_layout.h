#pragma once
// The list's geometry: row tops, content height, the scroll thumb, hit
// testing and the pinned section header. Pure functions of the rows and
// the scroll position.

#include "controls/mobile_list_rows.h"

namespace brantel {

struct MobileListMetrics {
  int default_row_height = 60;
  int separator_width = 1;
  int RowHeight(const MobileListRow& row) const { return row.height > 0 ? row.height : default_row_height; }
};

// Sets every row's top and returns the content height: the rows with the
// separator after each (as they are painted), at least `view`.
int LayOutRows(std::vector<MobileListRow>& rows, const MobileListMetrics& metrics, int view);

struct ThumbGeometry {
  int length = 0;  // 0: no thumb
  int top = 0;
  int bottom = 0;
};
ThumbGeometry ComputeThumb(int view, int content, int position, int default_row_height);

struct MobileListHit {
  int row = -1;
  int cell = -1;  // index in the row's cell list
};
// `client` is in the window's client coordinates.
MobileListHit HitTestRows(const std::vector<MobileListRow>& rows, const MobileListMetrics& metrics, int width,
                          int position, Point client);

// The first row whose bottom lies below content position `y` (rows.size()
// when none).
size_t FirstRowBelow(const std::vector<MobileListRow>& rows, const MobileListMetrics& metrics, int y);

struct PinnedHeader {
  int row = -1;    // -1: none drawn
  int offset = 0;  // 0 or negative: pushed up by the next section header
};
PinnedHeader FindPinnedHeader(const MobileListRows& rows, const MobileListMetrics& metrics, int position);

}  // namespace brantel
