#pragma once
// The request routines the screens call: market list, stock detail, MyPage
// list, single code and master. Each runs the request cycle and hands on
// what the answer holds.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/ui_types.h"
#include "protocol/records.h"
#include "protocol/response_document.h"

namespace brantel {

// What a market list window gives the list request and receives from it.
class MarketListTarget {
 public:
  virtual ~MarketListTarget() = default;
  virtual int32_t category() const = 0;
  virtual int32_t sub_kind() const { return 0; }  // the ranking's
  // Gets WM_LIST_UPDATE_END (category, 1 or 0); also stands in for the main
  // window of the connection check when there is none yet.
  virtual HWND owner() const = 0;
  // The list's last-update stamp, sent with the request.
  virtual WideText LastUpdate() const = 0;
  // A successful answer's stamp, before its rows.
  virtual void SetLastUpdate(WideView stamp) = 0;
  // Told when the request starts and when it ends, for a target that keeps
  // no guard of its own around the call.
  virtual void OnRequestRunning(bool running) { (void)running; }
  // The rows of a successful answer (the window refills and stores them).
  virtual void ReceiveRows(std::vector<StockRecord>&& rows) = 0;
};

// 1 on success (ResultCode "1": rows handed over, stamp kept and stored);
// otherwise the transport's error, or 0 when the server answered with another
// result code. Posts WM_LIST_UPDATE_END to the owner either way.
int32_t FetchMarketList(MarketListTarget& target);

struct DetailAnswer {
  WideText server_date;
  std::optional<StockDetailRecord> detail;  // when its code and name are not empty
  std::vector<StockRecord> daily;
  std::vector<WideText> attachments;        // paths of the stored chart pictures
};

// The detail of `code` with the chart period `period` (0 to 4). 1 with `out`
// filled; 0 for an empty code, a negative category or a refusal; the
// transport's error when there is no answer. `out` is untouched unless 1.
int32_t FetchDetail(WideView code, int32_t category, WideView item, int period, HWND caller, DetailAnswer& out);

// One group per watch-list entry (row keys); entries that do not parse, lack
// a code or group, or have a negative category add none; currency entries ask
// in "FX@KRW". 1 when an answer came (its rows of the codes asked for, each
// code once, appended to `rows`; its stamp in `server_date`; the result code
// is not checked), else 0.
int32_t FetchMyPageList(const std::vector<WideText>& entries, WideView stamp, HWND caller,
                        std::vector<StockRecord>* rows, WideText& server_date);

struct SingleCodeAnswer {
  WideText server_date;
  std::optional<StockRecord> first;  // the answer's first row, if any
};

// One code of `category` and `group` at `path`. 1 when an answer came (with
// or without a row); 0 for an empty code, group or path or a negative
// category; the transport's error otherwise. The cache's single-code request
// writes the row into its quote table.
int32_t RequestSingleCode(WideView code, int32_t category, WideView group, WideView path, HWND caller,
                          SingleCodeAnswer& out);

// The master request with the stored entry count and the master stamp. The
// answer (its first row and attached master file) goes to the master refresh;
// nullptr with `last_error` set when there was none.
std::unique_ptr<ResponseDocument> FetchMaster(int stored_count, WideView stamp, HWND caller, int32_t* last_error);

}  // namespace brantel
