#pragma once
// What a search text finds in the master list: at most 30 stocks in master
// order, each with its market flag and whether it is on the watch list, and
// the key text its list row carries. No window here.

#include <cstdint>
#include <vector>

#include "cache/master_parser.h"
#include "platform/text.h"

namespace brantel {

struct SearchRow {
  WideText code;
  WideText name;       // as the master holds it ("&&" still doubled)
  int32_t market = 1;  // LookupMarket of the code: the row key's group
  bool in_mypage = false;
};

// The stocks whose code, or else name, begins with `text` ignoring case,
// at most 30, in master order; entries without a code or a name are left
// out. Nothing for an empty text or an empty master.
std::vector<SearchRow> FindSearchRows(CParseMaster& master, WideView text);

// Sets in_mypage of every row whose code is on the watch list (one query).
void MarkMyPageRows(std::vector<SearchRow>& rows);

// The row key: code, category 1, the market flag as group, the MyPage flag
// and the name.
WideText SearchRowKey(const SearchRow& row);

// The name as the list shows it: "&&" stands for one "&".
WideText SearchDisplayName(WideView name);

}  // namespace brantel
