#pragma once
// What a quote list row stands for, read from the list and changed in it.
// The control keeps each row's identity as its key text; the screens work on
// the value (RowKey) and set the MyPage star here, where the star's picture
// and the key's flag change together.

#include <optional>

#include "app/common/market_row_layout.h"
#include "controls/mobile_list_ctrl.h"
#include "protocol/row_key.h"

namespace brantel {

// The row's identity; none for a section row, a row that does not exist, or
// a key that does not read back or has no code.
std::optional<RowKey> QuoteRowKey(const CMobileListCtrl& body, int row);

// Turns the star of `row` (its cell `star_cell`) on or off, with its key.
void SetQuoteRowStar(CMobileListCtrl& body, int row, int star_cell, bool in_mypage);
// The same on every row of `code`: what the detail changed shows on the list.
void SetQuoteRowStarsOfCode(CMobileListCtrl& body, WideView code, int star_cell, bool in_mypage);

}  // namespace brantel
