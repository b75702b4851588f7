#include "app/common/market_list_row.h"

#include "controls/viewer_fonts.h"

namespace brantel {

MobileListRow ToMobileListRow(const MarketRow& row, int list_width) {
  MobileListRow out;
  out.height = row.height;
  out.section = row.section;
  out.key = row.key;
  out.cells.reserve(row.cells.size() + (row.background_image > 0 ? 1 : 0));
  if (row.background_image > 0)
    out.cells.push_back(MobileListCell::Image(kSectionBandCell, -1, Rect{0, 0, list_width, row.height},
                                              uint32_t(row.background_image)));
  for (const MarketCell& c : row.cells) {
    if (c.image_id > 0) {
      out.cells.push_back(MobileListCell::Image(c.cell_id, c.column_id, c.rect, uint32_t(c.image_id)));
    } else {
      out.cells.push_back(MobileListCell::Text(c.cell_id, c.column_id, c.rect, c.text, ViewerFont(c.font_height),
                                               c.colour, c.colour, c.format));
    }
  }
  return out;
}

}  // namespace brantel
