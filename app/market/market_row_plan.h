#pragma once
// The rows a market list shows for a list of records: a section row at each
// change of group, the ranking's caption row first, one quote row per record,
// and the stars of the codes on the watch list.

#include <cstdint>
#include <vector>

#include "app/common/market_row_layout.h"
#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

struct MarketRowPlanInput {
  int32_t category = 0;
  int list_width = 480;
  WideText caption;  // the ranking's leading caption row; empty for none
  WideText unit;     // the exchange list's currency unit
};

struct MarketRowPlan {
  std::vector<MarketRow> rows;
  // Per row: index into the records (-1 for section rows).
  std::vector<int> record_of_row;
};

MarketRowPlan PlanMarketRows(const std::vector<StockRecord>& records, const MarketRowPlanInput& input);

// Looks the plan's codes up on the watch list (one query) and turns the star
// of every row found on, its key flag too. The number of rows starred.
int StarMyPageRows(MarketRowPlan& plan, const std::vector<StockRecord>& records, int32_t category);

// Switches one row's star and its key's MyPage flag.
void SetRowStar(MarketRow& row, int32_t category, bool in_mypage);

}  // namespace brantel
