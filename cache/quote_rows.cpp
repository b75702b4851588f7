#include "cache/quote_rows.h"

#include <cstdlib>
#include <string>

namespace brantel {

const char* const kShortInsertFormat =
    "INSERT INTO %s (code, codename, gubun, sub_gubun, current_price, daebi, rate, date, time, lastupdatetime) "
    "VALUES(?,?,?,?,?,?,?,?,?,?)";
const char* const kShortUpdateFormat =
    "UPDATE %s SET codename=?,sub_gubun=?,current_price=?,daebi=?,rate=?,date=?,time=?,lastupdatetime=? WHERE "
    "code=? AND gubun=?";
const char* const kFullInsertFormat =
    "INSERT INTO %s (code, codename, gubun, sub_gubun, current_price, daebi, rate, high, low, trade_amount, "
    "yesterday_price, open_price, high52, high52datetime, low52, low52datetime, date, time, lastupdatetime) "
    "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
const char* const kFullUpdateFormat =
    "UPDATE %s SET codename=?,sub_gubun=?,current_price=?,daebi=?,rate=?,high=?,low=?,trade_amount=?,"
    "yesterday_price=?,open_price=?,high52=?,high52datetime=?,low52=?,low52datetime=?,date=?,time=?,"
    "lastupdatetime=? WHERE code=? AND gubun=?";
const char* const kSelectCodeOfCategoryFormat = "SELECT code FROM %s WHERE code=? AND gubun=?";


namespace {

// Column positions of the load statements.
enum Column {
  kCode, kCodename, kGubun, kSubGubun, kCurrentPrice, kDaebi, kRate, kHigh, kLow, kTradeAmount,
  kYesterdayPrice, kOpenPrice, kHigh52, kHigh52Date, kLow52, kLow52Date, kDate, kTime, kLastUpdate
};

// Binds wide texts in order from parameter `first`; returns the next index.
int BindTexts(SQLite3Statement& st, int first, std::initializer_list<const WideText*> texts) {
  for (const WideText* t : texts) st.Bind(first++, Narrow(*t).c_str());
  return first;
}

template <class Record>
void BindShortInsertOf(SQLite3Statement& st, const Record& r, const char* stamp) {
  st.Bind(1, Narrow(r.code).c_str());
  st.Bind(2, Narrow(r.codename).c_str());
  st.Bind(3, r.gubun);
  int next = BindTexts(st, 4, {&r.item, &r.current_price, &r.daebi, &r.rate, &r.date, &r.time});
  st.Bind(next, stamp);
}

template <class Record>
void BindShortUpdateOf(SQLite3Statement& st, const Record& r, const char* stamp) {
  int next = BindTexts(st, 1, {&r.codename, &r.item, &r.current_price, &r.daebi, &r.rate, &r.date, &r.time});
  st.Bind(next++, stamp);
  st.Bind(next++, Narrow(r.code).c_str());
  st.Bind(next, r.gubun);
}

WideText Text(const SQLite3Query& q, int column) {
  const char* value = q.FieldValue(column);
  return value ? Widen(value) : WideText();
}

int Category(const SQLite3Query& q) {
  const char* value = q.FieldValue(kGubun);
  return value ? int(std::strtol(value, nullptr, 10)) : 0;
}

}  // namespace

void BindShortInsert(SQLite3Statement& st, const StockRecord& r, const char* stamp) { BindShortInsertOf(st, r, stamp); }
void BindShortInsert(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp) {
  BindShortInsertOf(st, r, stamp);
}
void BindShortUpdate(SQLite3Statement& st, const StockRecord& r, const char* stamp) { BindShortUpdateOf(st, r, stamp); }
void BindShortUpdate(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp) {
  BindShortUpdateOf(st, r, stamp);
}

void BindFullInsert(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp) {
  st.Bind(1, Narrow(r.code).c_str());
  st.Bind(2, Narrow(r.codename).c_str());
  st.Bind(3, r.gubun);
  int next = BindTexts(st, 4,
                       {&r.item, &r.current_price, &r.daebi, &r.rate, &r.high, &r.low, &r.trade_amount,
                        &r.yesterday_price, &r.open_price, &r.high52, &r.high52_date, &r.low52, &r.low52_date,
                        &r.date, &r.time});
  st.Bind(next, stamp);
}

void BindFullUpdate(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp) {
  int next = BindTexts(st, 1,
                       {&r.codename, &r.item, &r.current_price, &r.daebi, &r.rate, &r.high, &r.low,
                        &r.trade_amount, &r.yesterday_price, &r.open_price, &r.high52, &r.high52_date, &r.low52,
                        &r.low52_date, &r.date, &r.time});
  st.Bind(next++, stamp);
  st.Bind(next++, Narrow(r.code).c_str());
  st.Bind(next, r.gubun);
}

namespace {

// The fields a list row and a full quote share, read by column name.
template <typename Record>
void ReadListFields(const SQLite3Query& q, Record& r) {
  r.code = Text(q, kCode);
  r.codename = Text(q, kCodename);
  r.gubun = Category(q);
  r.item = Text(q, kSubGubun);
  r.current_price = Text(q, kCurrentPrice);
  r.daebi = Text(q, kDaebi);
  r.rate = Text(q, kRate);
  r.date = Text(q, kDate);
  r.time = Text(q, kTime);
}

}  // namespace

StockRecord ReadStockRecord(const SQLite3Query& q) {
  StockRecord r;
  ReadListFields(q, r);
  return r;
}

StockDetailRecord ReadDetailRecord(const SQLite3Query& q) {
  StockDetailRecord r;
  ReadListFields(q, r);
  r.high = Text(q, kHigh);
  r.low = Text(q, kLow);
  r.trade_amount = Text(q, kTradeAmount);
  r.yesterday_price = Text(q, kYesterdayPrice);
  r.open_price = Text(q, kOpenPrice);
  r.high52 = Text(q, kHigh52);
  r.high52_date = Text(q, kHigh52Date);
  r.low52 = Text(q, kLow52);
  r.low52_date = Text(q, kLow52Date);
  return r;
}

WideText ReadRowStamp(const SQLite3Query& q) { return Text(q, kLastUpdate); }

}  // namespace brantel
