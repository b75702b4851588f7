#include "cache/mypage_store.h"

#include "cache/cache_connection.h"
#include "cache/cache_results.h"
#include "cache/cache_tables.h"
#include "cache/code_list_rows.h"
#include "cache/quote_rows.h"
#include "cache/quote_store.h"
#include "cache/sql_text.h"

namespace brantel {

namespace {

const char* const kCountFormat = "SELECT COUNT(*) AS count FROM %s";
const char* const kStampFormat = "UPDATE %s SET lastupdatetime=?";
const char* const kRemoveFormat = "DELETE FROM %s WHERE code=? AND gubun=?";
const char* const kClearFormat = "DELETE FROM %s";
const char* const kLoadEntriesFormat = "SELECT code, gubun, sub_gubun FROM %s ORDER BY gubun, uid";
const char* const kFindCodesFormat = "SELECT code FROM %s WHERE 1 AND code IN (%s)";
// Within a category the rows keep the order the edit screen wrote (uid);
// ordering by category alone would follow whatever index the join uses.
const char* const kLoadMyPageFormat =
    "SELECT DATA.code, DATA.codename, DATA.gubun, DATA.sub_gubun, DATA.current_price, DATA.daebi, DATA.rate, "
    "DATA.high, DATA.low, DATA.trade_amount, DATA.yesterday_price, DATA.open_price, DATA.high52, "
    "DATA.high52datetime, DATA.low52, DATA.low52datetime, DATA.date, DATA.time, DATA.lastupdatetime FROM %s AS "
    "MY, %s AS DATA WHERE MY.code=DATA.code AND MY.gubun=DATA.gubun ORDER BY MY.gubun, MY.uid";

// One operation on MyPage, created first when absent: CACHE_NOTHING when it
// cannot be, else what `work(conn, db)` returns.
template <typename Work>
int RunOnMyPage(Work&& work) {
  return RunCacheOperation([&](CacheConnection& conn, SQLite3Database& db) {
    return MyPageTableReadyOn(db) ? work(conn, db) : CACHE_NOTHING;
  });
}

// Runs one statement (optionally bound with code and category) on MyPage
// when the table exists; 0 when it does not.
int WriteWhenTableExists(const std::string& sql, const char* code, int category, bool bind) {
  return RunCacheOperation([&](CacheConnection&, SQLite3Database& db) {
    if (!db.TableExists(kMyPageTable)) return CACHE_NOTHING;
    SQLite3Statement st = db.CompileStatement(sql.c_str());
    if (bind) {
      st.Bind(1, code);
      st.Bind(2, category);
    }
    st.ExecDML();
    return CACHE_OK;
  });
}

}  // namespace

int CountMyPage(SQLite3Database& db) {
  SQLite3Query q = db.ExecQuery(FormatSql(kSqlBufferSmall, kCountFormat, kMyPageTable).c_str());
  if (q.Eof()) return 0;
  const char* count = q.FieldValue("count");
  return count ? std::atoi(count) : 0;
}

int CountMyPage() {
  return RunOnMyPage([](CacheConnection&, SQLite3Database& db) { return CountMyPage(db); });
}

int StampMyPage(const char* narrow_stamp) {
  if (!narrow_stamp) return CACHE_NOTHING;
  const std::string sql = FormatSql(kSqlBufferSmall, kStampFormat, kMyPageTable);
  return RunOnMyPage([&](CacheConnection& conn, SQLite3Database& db) {
    conn.Begin();
    SQLite3Statement st = db.CompileStatement(sql.c_str());
    st.Bind(1, narrow_stamp);
    st.ExecDML();
    st.Finalize();
    conn.Commit();
    return CACHE_OK;
  });
}

int RemoveMyPageItem(const char* narrow_code, int category) {
  if (!narrow_code) return CACHE_NOTHING;
  return WriteWhenTableExists(FormatSql(kSqlBufferSmall, kRemoveFormat, kMyPageTable), narrow_code, category, true);
}

int ClearMyPage() {
  return WriteWhenTableExists(FormatSql(kSqlBufferSmall, kClearFormat, kMyPageTable), nullptr, 0, false);
}

int AddMyPageItem(const StockRecord& record, WideView stamp, bool allow_update, bool enforce_limit) {
  if (enforce_limit && CountMyPage() >= kMyPageMaxEntries) return MYPAGE_LIMIT;
  const std::string select_sql = FormatSql(kSqlBufferSmall, kSelectCodeOfCategoryFormat, kMyPageTable);
  const std::string narrow_stamp = Narrow(stamp);
  const int added = RunOnMyPage([&](CacheConnection& conn, SQLite3Database& db) {
    {
      SQLite3Statement select = db.CompileStatement(select_sql.c_str());
      select.Bind(1, Narrow(record.code).c_str());
      select.Bind(2, record.gubun);
      if (!select.ExecQuery().Eof()) return CACHE_NOTHING;  // already on the list
    }
    if (enforce_limit && CountMyPage(db) >= kMyPageMaxEntries) return MYPAGE_LIMIT;
    conn.Begin();
    InsertCodeRows(db, kMyPageTable, std::span<const StockRecord>(&record, 1), std::nullopt, narrow_stamp);
    conn.Commit();
    return CACHE_OK;
  });
  if (added != CACHE_OK) return added;
  return StoreQuote(kQuoteTable, record, stamp, allow_update);
}

int StoreMyPageList(std::span<const StockRecord> records, WideView stamp, bool enforce_limit) {
  if (records.empty()) return CACHE_NOTHING;
  // The count is taken once, before inserting; the list itself is not cut.
  if (enforce_limit && CountMyPage() >= kMyPageMaxEntries) return MYPAGE_LIMIT;
  const std::string narrow_stamp = Narrow(stamp);
  return RunOnMyPage([&](CacheConnection& conn, SQLite3Database& db) {
    conn.Begin();
    InsertCodeRows(db, kMyPageTable, records, std::nullopt, narrow_stamp);
    conn.Commit();
    return CACHE_OK;
  });
}

int ReplaceMyPageList(std::span<const StockRecord> records, WideView stamp, bool enforce_limit) {
  if (enforce_limit && records.size() > size_t(kMyPageMaxEntries)) return MYPAGE_LIMIT;
  const std::string clear_sql = FormatSql(kSqlBufferSmall, kClearFormat, kMyPageTable);
  const std::string narrow_stamp = Narrow(stamp);
  return RunOnMyPage([&](CacheConnection& conn, SQLite3Database& db) {
    conn.Begin();
    db.CompileStatement(clear_sql.c_str()).ExecDML();
    InsertCodeRows(db, kMyPageTable, records, std::nullopt, narrow_stamp);
    conn.Commit();
    return CACHE_OK;
  });
}

int FindMyPageCodes(WideView codes_text, std::vector<WideText>& out) {
  if (codes_text.empty()) return CACHE_NOTHING;
  // Like the quote table's IN list, the text grows with the list rather than
  // being cut at a fixed size (a cut list would fail to compile).
  std::string sql = kFindCodesFormat;
  sql.replace(sql.find("%s"), 2, kMyPageTable);
  sql.replace(sql.find("%s"), 2, Narrow(codes_text));
  return RunOnMyPage([&](CacheConnection&, SQLite3Database& db) {
    for (SQLite3Query q = db.ExecQuery(sql.c_str()); !q.Eof(); q.NextRow()) out.push_back(ColumnText(q, 0));
    return CACHE_OK;
  });
}

int FindMyPageCodesOf(std::span<const WideText> codes, std::vector<WideText>& out) {
  return FindMyPageCodes(BuildQuotedCodeList(codes), out);
}

int LoadMyPage(std::vector<StockRecord>& out, WideText& stamp) {
  const std::string sql = FormatSql(kSqlBufferSmall, kLoadMyPageFormat, kMyPageTable, kQuoteTable);
  return RunOnMyPage([&](CacheConnection&, SQLite3Database& db) {
    if (!QuoteTableReadyOn(db, kQuoteTable)) return CACHE_NOTHING;
    for (SQLite3Query q = db.ExecQuery(sql.c_str()); !q.Eof(); q.NextRow()) {
      out.push_back(ReadStockRecord(q));
      stamp = ReadRowStamp(q);
    }
    return CACHE_OK;
  });
}

int LoadMyPageEntries(std::vector<StockRecord>& out) {
  const std::string sql = FormatSql(kSqlBufferSmall, kLoadEntriesFormat, kMyPageTable);
  return RunOnMyPage([&](CacheConnection&, SQLite3Database& db) {
    for (SQLite3Query q = db.ExecQuery(sql.c_str()); !q.Eof(); q.NextRow()) {
      StockRecord r;
      r.code = ColumnText(q, 0);
      const char* category = q.FieldValue(1);
      r.gubun = category ? std::atoi(category) : 0;
      r.item = ColumnText(q, 2);
      out.push_back(std::move(r));
    }
    return CACHE_OK;
  });
}

}  // namespace brantel
