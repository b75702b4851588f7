#include "tools/brantel-quote/list_cache.h"

#include "cache/cache_results.h"
#include "cache/quote_store.h"
#include "cache/rank_store.h"
#include "protocol/categories.h"

namespace brantel::quote_tool {

std::vector<StockRecord> LoadCachedList(int32_t category, int32_t sub_kind) {
  std::vector<StockRecord> rows;
  if (category == kCategoryRanking) LoadStockRank(kCategoryStock, sub_kind, rows);
  else LoadQuotesOfCategory(kQuoteTable, category, rows);
  return rows;
}

bool StoreListAnswer(int32_t category, int32_t sub_kind, const std::vector<StockRecord>& rows, WideView stamp) {
  if (rows.empty()) return true;
  // The quote rows first: a ranking replaced before them could name codes
  // whose rows a killed process never wrote.
  if (StoreQuoteList(kQuoteTable, rows, stamp) != CACHE_OK) return false;
  return category != kCategoryRanking || ReplaceStockRank(rows, sub_kind, stamp) == CACHE_OK;
}

}  // namespace brantel::quote_tool
