#include "app/market/market_row_plan.h"

#include <unordered_set>

#include "cache/mypage_store.h"
#include "protocol/categories.h"
#include "protocol/row_key.h"

namespace brantel {

MarketRowPlan PlanMarketRows(const std::vector<StockRecord>& records, const MarketRowPlanInput& input) {
  MarketRowPlan plan;
  const MarketRowStyle style = MarketRowStyleOf(input.category);
  plan.rows.reserve(records.size() + 8);
  plan.record_of_row.reserve(records.size() + 8);
  if (!input.caption.empty()) {
    plan.rows.push_back(BuildSectionRow(input.caption, input.list_width));
    plan.record_of_row.push_back(-1);
  }
  // The ranking's rows share one group; its caption row stands for it.
  const bool sections = input.category != kCategoryRanking;
  const WideText* previous_group = nullptr;
  for (size_t i = 0; i < records.size(); ++i) {
    const StockRecord& record = records[i];
    if (sections && !record.item.empty() && (!previous_group || *previous_group != record.item)) {
      const WideText caption = GroupName(input.category, record.item);
      plan.rows.push_back(BuildSectionRow(caption, input.list_width));
      plan.record_of_row.push_back(-1);
    }
    previous_group = &record.item;
    plan.rows.push_back(BuildMarketRow(record, input.category, style, false, input.unit));
    plan.record_of_row.push_back(static_cast<int>(i));
  }
  return plan;
}

void SetRowStar(MarketRow& row, int32_t category, bool in_mypage) {
  const int star = MarketStarCell(category);
  for (MarketCell& cell : row.cells)
    if (cell.cell_id == star && cell.image_id > 0) cell.image_id = StarImage(in_mypage);
  const WideText marked = RowKeyWithMyPage(row.key, in_mypage);
  if (!marked.empty()) row.key = marked;
}

int StarMyPageRows(MarketRowPlan& plan, const std::vector<StockRecord>& records, int32_t category) {
  std::vector<WideText> codes;
  codes.reserve(records.size());
  for (const StockRecord& r : records)
    if (!r.code.empty()) codes.push_back(r.code);
  if (codes.empty()) return 0;
  std::vector<WideText> found;
  FindMyPageCodesOf(codes, found);
  if (found.empty()) return 0;
  const std::unordered_set<WideText> on_list(found.begin(), found.end());
  int starred = 0;
  for (size_t i = 0; i < plan.rows.size(); ++i) {
    const int r = plan.record_of_row[i];
    if (r < 0 || !on_list.count(records[r].code)) continue;
    SetRowStar(plan.rows[i], category, true);
    ++starred;
  }
  return starred;
}

}  // namespace brantel
