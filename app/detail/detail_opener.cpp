#include "app/detail/detail_opener.h"

#include "cache/cache_results.h"
#include "cache/quote_store.h"
#include "platform/resources/resource_library.h"

namespace brantel {

StockDetailRecord DetailRecordOfRow(const StockRecord& row) {
  StockDetailRecord d;
  d.gubun = row.gubun;
  d.code = row.code;
  d.item = row.item;
  d.codename = row.codename;
  d.current_price = row.current_price;
  d.daebi = row.daebi;
  d.rate = row.rate;
  d.date = row.date;
  d.time = row.time;
  return d;
}

std::unique_ptr<CMStockDetailDlg> OpenStockDetail(Window& owner, const StockRecord& row, bool in_mypage,
                                                  WideView update_text) {
  return OpenStockDetail(owner, DetailRecordOfRow(row), in_mypage, update_text);
}

std::unique_ptr<CMStockDetailDlg> OpenStockDetail(Window& owner, const StockDetailRecord& record, bool in_mypage,
                                                  WideView update_text) {
  auto detail = std::make_unique<CMStockDetailDlg>(ProcessResources(), &owner);
  detail->SetRecord(record, in_mypage);
  detail->SetUpdateText(update_text);
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
