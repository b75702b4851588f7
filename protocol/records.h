#pragma once
// The two quote records shared by the whole viewer. Every quote value is kept
// as the exact text the information server sent.

#include <cstdint>

#include "platform/text.h"

namespace brantel {

// One row of a market list (an InfoList element of an answer).
struct StockRecord {
  int32_t gubun = 0;       // category code
  WideText code;           // stock, index, currency or product code
  WideText item;           // group (sub-category) code as the server names it
  WideText codename;       // display name
  WideText current_price;
  WideText daebi;          // change against the previous close, "-" when falling
  WideText rate;           // change rate
  WideText date;
  WideText time;

  bool operator==(const StockRecord&) const = default;
};

// The full quote of one code (a Detail element of an answer). Note the order
// of the four 52-week fields; the cache maps them by name.
struct StockDetailRecord {
  int32_t gubun = 0;
  WideText code;
  WideText item;
  WideText period;
  WideText codename;
  WideText current_price;
  WideText daebi;
  WideText rate;
  WideText high;
  WideText low;
  WideText trade_amount;
  WideText yesterday_price;
  WideText open_price;
  WideText high52;
  WideText low52;
  WideText high52_date;
  WideText low52_date;
  WideText date;
  WideText time;

  bool operator==(const StockDetailRecord&) const = default;
};

// A list row's record as a full quote (the fields it has), and back.
StockDetailRecord DetailRecordOfRow(const StockRecord& row);
StockRecord ListRowOfDetail(const StockDetailRecord& detail);

}  // namespace brantel
