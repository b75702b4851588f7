#include "app/mypage/mypage_background_store.h"

#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"

namespace brantel {

MyPageBackgroundStore::~MyPageBackgroundStore() { thread_.Stop(0); }

bool MyPageBackgroundStore::Start(const std::vector<StockRecord>& rows, WideView stamp) {
  if (rows.empty() || stored_.load() != 0 || thread_.Running()) return false;
  return thread_.Start([this, rows, stamp = WideText(stamp)](WorkerThread& self) {
    if (self.StopRequested()) return;
    stored_.fetch_add(1);
    StampMyPage(Narrow(stamp).c_str());
    StoreQuoteList(kQuoteTable, rows, stamp);
  });
}

bool MyPageBackgroundStore::Cancel(uint32_t wait_ms) { return thread_.Stop(wait_ms); }

}  // namespace brantel
