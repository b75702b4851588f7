#pragma once
// Opening the stock detail on a list row, and taking its result back. The
// screens that show quotes (MyPage, the market lists, search) call these two
// and nothing else of the detail:
//
//   detail_ = OpenStockDetail(*this, row, row_in_mypage, update_text);
//   ...
//   case WM_DETAIL_CLOSED: {
//     DetailResult result = CloseStockDetail(detail_);
//     if (result.changed) /* set the row's star from result.in_mypage */;
//   }

#include <memory>

#include "app/detail/stock_detail_dlg.h"
#include "protocol/records.h"

namespace brantel {

// The full record a list row opens with (the fields a row carries).
StockDetailRecord DetailRecordOfRow(const StockRecord& row);

// Opens the detail over `owner` (a screen or list window) on `row`;
// `update_text` is shown after "Updated : " until the answer brings its own
// (the market lists pass UpdateTextOfListStamp of their stamp). Null when the
// dialog could not be created. The caller keeps it until WM_DETAIL_CLOSED.
std::unique_ptr<CMStockDetailDlg> OpenStockDetail(Window& owner, const StockRecord& row, bool in_mypage,
                                                  WideView update_text);
// The same on a full record (MyPage opens on the cached full quote).
std::unique_ptr<CMStockDetailDlg> OpenStockDetail(Window& owner, const StockDetailRecord& record, bool in_mypage,
                                                  WideView update_text);

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
