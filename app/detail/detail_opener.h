#pragma once
// Opening the stock detail on a list row, and taking its result back. The
// screens that show quotes (MyPage, the market lists, search) call these
// and nothing else of the detail:
//
//   const std::optional<RowKey> key = QuoteRowKey(list_.body(), row);
//   CachedDetailRecord(*key, record, stamp);
//   detail_ = OpenStockDetail(*this, record, key->in_mypage(), stamp);
//   ...
//   case WM_DETAIL_CLOSED: {
//     DetailResult result = CloseStockDetail(detail_);
//     if (result.changed) /* set the row's star from result.in_mypage */;
//   }

#include <memory>

#include "app/detail/stock_detail_dlg.h"
#include "protocol/records.h"
#include "protocol/row_key.h"

namespace brantel {

// The full record a list row's key opens with: the quote cached in table
// "StockData" when there is one with a name (`stamp` gets its stamp), else
// the key's code, group and name (`stamp` is emptied, false is returned).
// `gubun` is the key's category either way.
bool CachedDetailRecord(const RowKey& key, StockDetailRecord& record, WideText& stamp);

// Opens the detail over `owner` (a screen or list window) on `record`. The
// text after "Updated : " is made of `list_stamp` (UpdateTextOfListStamp)
// until the answer brings its own. Null when the dialog could not be
// created. The caller keeps it until WM_DETAIL_CLOSED.
std::unique_ptr<CMStockDetailDlg> OpenStockDetail(Window& owner, const StockDetailRecord& record, bool in_mypage,
                                                  WideView list_stamp);

struct DetailResult {
  StockDetailRecord record;
  bool in_mypage = false;
  bool changed = false;  // the user changed the MyPage state in the detail
};

// On WM_DETAIL_CLOSED: reads the result, writes the quote on show into the
// cache table "StockData" when it holds a code, a name and a price, and
// destroys the dialog (`detail` becomes null). A null `detail` gives an
// empty result.
DetailResult CloseStockDetail(std::unique_ptr<CMStockDetailDlg>& detail);

}  // namespace brantel
