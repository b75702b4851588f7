#pragma once
// Turns a planned row (MarketRow) into the list control's row: a section
// row's band picture becomes a picture cell behind its captions, text cells
// take the viewer's gothic font at their height. Shared by every screen that
// lists quotes (the market lists, MyPage and its editor).

#include "app/common/market_row_layout.h"
#include "controls/mobile_list_rows.h"

namespace brantel {

// The cell id of a section row's band picture.
inline constexpr int kSectionBandCell = 9;

MobileListRow ToMobileListRow(const MarketRow& row, int list_width);

}  // namespace brantel
