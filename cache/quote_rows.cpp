#include "cache/quote_rows.h"

#include <array>
#include <cstdlib>
#include <span>
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

// The texts that follow code, codename and gubun in an INSERT, and codename
// in an UPDATE, in the order the statements name them.
template <class Record>
std::array<const WideText*, 6> ShortTexts(const Record& r) {
  return {&r.item, &r.current_price, &r.daebi, &r.rate, &r.date, &r.time};
}

std::array<const WideText*, 15> FullTexts(const StockDetailRecord& r) {
  return {&r.item,       &r.current_price, &r.daebi,      &r.rate,        &r.high,
          &r.low,        &r.trade_amount,  &r.yesterday_price, &r.open_price, &r.high52,
          &r.high52_date, &r.low52,        &r.low52_date, &r.date,       &r.time};
}

// Binds wide texts in order from parameter `first`; returns the next index.
int BindTexts(SQLite3Statement& st, int first, std::span<const WideText* const> texts) {
  for (const WideText* t : texts) st.Bind(first++, Narrow(*t).c_str());
  return first;
}

template <class Record>
void BindInsert(SQLite3Statement& st, const Record& r, const char* stamp, std::span<const WideText* const> texts) {
  st.Bind(1, Narrow(r.code).c_str());
  st.Bind(2, Narrow(r.codename).c_str());
  st.Bind(3, r.gubun);
  st.Bind(BindTexts(st, 4, texts), stamp);
}

template <class Record>
void BindUpdate(SQLite3Statement& st, const Record& r, const char* stamp, std::span<const WideText* const> texts) {
  st.Bind(1, Narrow(r.codename).c_str());
  int next = BindTexts(st, 2, texts);
  st.Bind(next++, stamp);
  st.Bind(next++, Narrow(r.code).c_str());
  st.Bind(next, r.gubun);
}

int Category(const SQLite3Query& q) {
  const char* value = q.FieldValue(kGubun);
  return value ? int(std::strtol(value, nullptr, 10)) : 0;
}

// A text field of a record and the load column it is read from.
template <class Record>
struct ColumnField {
  WideText Record::*member;
  Column column;
};

// The fields a list row and a full quote share.
template <class Record>
constexpr ColumnField<Record> kListColumns[] = {
    {&Record::code, kCode},
    {&Record::codename, kCodename},
    {&Record::item, kSubGubun},
    {&Record::current_price, kCurrentPrice},
    {&Record::daebi, kDaebi},
    {&Record::rate, kRate},
    {&Record::date, kDate},
    {&Record::time, kTime},
};

// The fields only a full quote has.
constexpr ColumnField<StockDetailRecord> kDetailOnlyColumns[] = {
    {&StockDetailRecord::high, kHigh},
    {&StockDetailRecord::low, kLow},
    {&StockDetailRecord::trade_amount, kTradeAmount},
    {&StockDetailRecord::yesterday_price, kYesterdayPrice},
    {&StockDetailRecord::open_price, kOpenPrice},
    {&StockDetailRecord::high52, kHigh52},
    {&StockDetailRecord::high52_date, kHigh52Date},
    {&StockDetailRecord::low52, kLow52},
    {&StockDetailRecord::low52_date, kLow52Date},
};

template <class Record>
void ReadColumns(const SQLite3Query& q, Record& r, std::span<const ColumnField<Record>> fields) {
  for (const ColumnField<Record>& f : fields) r.*f.member = ColumnText(q, f.column);
}

template <class Record>
Record ReadListFields(const SQLite3Query& q) {
  Record r;
  ReadColumns<Record>(q, r, kListColumns<Record>);
  r.gubun = Category(q);
  return r;
}

}  // namespace

void BindShortInsert(SQLite3Statement& st, const StockRecord& r, const char* stamp) {
  BindInsert(st, r, stamp, ShortTexts(r));
}
void BindShortInsert(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp) {
  BindInsert(st, r, stamp, ShortTexts(r));
}
void BindShortUpdate(SQLite3Statement& st, const StockRecord& r, const char* stamp) {
  BindUpdate(st, r, stamp, ShortTexts(r));
}
void BindShortUpdate(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp) {
  BindUpdate(st, r, stamp, ShortTexts(r));
}
void BindFullInsert(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp) {
  BindInsert(st, r, stamp, FullTexts(r));
}
void BindFullUpdate(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp) {
  BindUpdate(st, r, stamp, FullTexts(r));
}

WideText ColumnText(const SQLite3Query& q, int column) {
  const char* value = q.FieldValue(column);
  return value ? Widen(value) : WideText();
}

StockRecord ReadStockRecord(const SQLite3Query& q) { return ReadListFields<StockRecord>(q); }

StockDetailRecord ReadDetailRecord(const SQLite3Query& q) {
  StockDetailRecord r = ReadListFields<StockDetailRecord>(q);
  ReadColumns<StockDetailRecord>(q, r, kDetailOnlyColumns);
  return r;
}

WideText ReadRowStamp(const SQLite3Query& q) { return ColumnText(q, kLastUpdate); }

}  // namespace brantel
