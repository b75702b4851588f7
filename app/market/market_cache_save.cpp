#include "app/market/market_cache_save.h"

#include "cache/cache_results.h"
#include "cache/quote_store.h"
#include "cache/rank_store.h"
#include "protocol/categories.h"
#include "protocol/last_update.h"

namespace brantel {

namespace {

size_t Slot(int32_t sub_kind) { return sub_kind >= 1 && sub_kind <= 2 ? size_t(sub_kind) : 0; }

}  // namespace

MarketCacheSave::~MarketCacheSave() { thread_.Stop(0); }

bool MarketCacheSave::Start(const std::vector<StockRecord>& rows, WideView stamp, int32_t sub_kind) {
  if (category_ != kCategoryRanking) sub_kind = 0;
  const size_t slot = Slot(sub_kind);
  if (rows.empty() || loaded_[slot].load() != 0 || thread_.Running()) return false;
  return thread_.Start([this, slot, sub_kind, rows, stamp = WideText(stamp)](WorkerThread& self) {
    if (self.StopRequested()) return;
    loaded_[slot].fetch_add(1);
    Store(category_, sub_kind, rows, stamp);
  });
}

int MarketCacheSave::LoadedCount(int32_t sub_kind) const {
  return loaded_[Slot(category_ == kCategoryRanking ? sub_kind : 0)].load();
}

bool MarketCacheSave::Cancel(uint32_t wait_ms) { return thread_.Stop(wait_ms); }

void MarketCacheSave::Store(int32_t category, int32_t sub_kind, const std::vector<StockRecord>& rows,
                            WideView stamp) {
  StoreQuoteList(kQuoteTable, rows, stamp);
  if (category != kCategoryRanking) return;
  if (ReplaceStockRank(rows, sub_kind, stamp) == CACHE_OK) LastUpdateStamp(stamp, kCategoryRanking, sub_kind, false);
}

}  // namespace brantel
