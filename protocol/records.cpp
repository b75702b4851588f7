#include "protocol/records.h"

namespace brantel {

namespace {

// The fields a list row and a full quote share.
template <class To, class From>
To WithListFields(const From& from) {
  To to;
  to.gubun = from.gubun;
  to.code = from.code;
  to.item = from.item;
  to.codename = from.codename;
  to.current_price = from.current_price;
  to.daebi = from.daebi;
  to.rate = from.rate;
  to.date = from.date;
  to.time = from.time;
  return to;
}

}  // namespace

StockDetailRecord DetailRecordOfRow(const StockRecord& row) { return WithListFields<StockDetailRecord>(row); }

StockRecord ListRowOfDetail(const StockDetailRecord& detail) { return WithListFields<StockRecord>(detail); }

}  // namespace brantel
