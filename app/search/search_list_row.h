#pragma once
// A search result as a row of the result list, and the list's look.

#include "app/search/search_results.h"
#include "controls/mobile_list_ctrl.h"

namespace brantel {

// Cell ids (also their positions in the row).
inline constexpr int kSearchCodeCell = 0;
inline constexpr int kSearchNameCell = 1;
inline constexpr int kSearchStarCell = 2;
inline constexpr uint32_t kSearchStarOff = 1056;
inline constexpr uint32_t kSearchStarOn = 1057;

// Code (white), name (0x94FFEF, "&&" shown as "&") and the star, with the
// row key of the result.
MobileListRow SearchListRow(const SearchRow& row);

// Row height 70, row background 1022, selection 1023, separator 0x504744
// width 1, thumb 15 wide from 1026, 1028, 1027.
void StyleSearchList(CMobileListCtrl& body);

}  // namespace brantel
