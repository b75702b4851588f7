#include "app/detail/detail_opener.h"

#include "app/detail/detail_rules.h"
#include "cache/cache_results.h"
#include "cache/quote_store.h"
#include "platform/resources/resource_library.h"

namespace brantel {

bool CachedDetailRecord(const RowKey& key, StockDetailRecord& record, WideText& stamp) {
  std::vector<StockDetailRecord> cached;
  LoadQuote(kQuoteTable, Narrow(key.code).c_str(), key.category, cached, stamp);
  // A cached quote without a name would show a blank title: the row's is better.
  const bool found = !cached.empty() && !cached.front().codename.empty();
  if (found) {
    record = cached.front();
  } else {
    record = DetailRecordOfRow(key.Record());
    stamp.clear();
  }
  record.gubun = key.category;
  return found;
}

std::unique_ptr<CMStockDetailDlg> OpenStockDetail(Window& owner, const StockDetailRecord& record, bool in_mypage,
                                                  WideView list_stamp) {
  auto detail = std::make_unique<CMStockDetailDlg>(ProcessResources(), &owner);
  detail->SetRecord(record, in_mypage);
  detail->SetUpdateText(UpdateTextOfListStamp(list_stamp));
  if (!detail->Open()) return nullptr;
  return detail;
}

DetailResult CloseStockDetail(std::unique_ptr<CMStockDetailDlg>& detail) {
  DetailResult result;
  if (!detail) return result;
  result.record = detail->record();
  result.in_mypage = detail->in_mypage();
  result.changed = detail->changed();
  const StockDetailRecord& r = result.record;
  if (!r.code.empty() && !r.codename.empty() && !r.current_price.empty())
    StoreQuote(kQuoteTable, r, detail->view().server_date, true);
  detail->Destroy();
  detail.reset();
  return result;
}

}  // namespace brantel
