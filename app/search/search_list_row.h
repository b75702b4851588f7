#pragma once
// A search result as a row of the result list, and the list's look.

#include "app/common/market_row_layout.h"
#include "app/search/search_results.h"
#include "controls/mobile_list_ctrl.h"

namespace brantel {

// Cell ids (also their positions in the row).
inline constexpr int kSearchCodeCell = 0;
inline constexpr int kSearchNameCell = 1;
inline constexpr int kSearchStarCell = 2;
inline constexpr uint32_t kSearchStarOff = StarImage(false);
inline constexpr uint32_t kSearchStarOn = StarImage(true);

// Code (white), name (0x94FFEF, "&&" shown as "&") and the star, with the
// row key of the result.
MobileListRow SearchListRow(const SearchRow& row);

}  // namespace brantel
