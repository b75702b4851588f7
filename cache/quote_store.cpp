#include "cache/quote_store.h"

#include <type_traits>

#include "cache/cache_connection.h"
#include "cache/cache_results.h"
#include "cache/cache_tables.h"
#include "cache/quote_rows.h"
#include "cache/sql_text.h"

namespace brantel {

namespace {

const char* const kLoadCategoryFormat =
    "SELECT code, codename, gubun, sub_gubun, current_price, daebi, rate, high, low, trade_amount, "
    "yesterday_price, open_price, high52, high52datetime, low52, low52datetime, date, time, lastupdatetime FROM "
    "%s WHERE gubun=? ORDER BY gubun";
const char* const kLoadQuoteFormat =
    "SELECT code, codename, gubun, sub_gubun, current_price, daebi, rate, high, low, trade_amount, "
    "yesterday_price, open_price, high52, high52datetime, low52, low52datetime, date, time, lastupdatetime FROM "
    "%s WHERE code=? AND gubun=?";

template <class Record>
int StoreOneQuote(const char* table, const Record& record, WideView stamp, bool allow_update, bool full_record) {
  if (!table || !*table) return CACHE_NOTHING;
  const std::string insert_sql = FormatSql(kSqlBufferLarge, full_record ? kFullInsertFormat : kShortInsertFormat, table);
  const std::string update_sql = FormatSql(kSqlBufferLarge, full_record ? kFullUpdateFormat : kShortUpdateFormat, table);
  const std::string select_sql = FormatSql(kSqlBufferSmall, kSelectCodeOfCategoryFormat, table);
  const std::string narrow_stamp = Narrow(stamp);
  return RunCacheOperation([&](CacheConnection& conn, SQLite3Database& db) {
    if (!QuoteTableReadyOn(db, table)) return CACHE_NOTHING;
    bool exists = false;
    {
      SQLite3Statement select = db.CompileStatement(select_sql.c_str());
      select.Bind(1, Narrow(record.code).c_str());
      select.Bind(2, record.gubun);
      exists = !select.ExecQuery().Eof();
    }  // the read ends before the write transaction starts
    conn.Begin();
    if (!exists || allow_update) {
      SQLite3Statement write = db.CompileStatement(exists ? update_sql.c_str() : insert_sql.c_str());
      try {
        if constexpr (std::is_same_v<Record, StockDetailRecord>) {
          if (full_record) {
            exists ? BindFullUpdate(write, record, narrow_stamp.c_str())
                   : BindFullInsert(write, record, narrow_stamp.c_str());
          } else {
            exists ? BindShortUpdate(write, record, narrow_stamp.c_str())
                   : BindShortInsert(write, record, narrow_stamp.c_str());
          }
        } else {
          exists ? BindShortUpdate(write, record, narrow_stamp.c_str())
                 : BindShortInsert(write, record, narrow_stamp.c_str());
        }
        write.ExecDML();
      } catch (const SQLite3Exception& e) {
        ReportCacheError(e);  // this row is lost; the transaction still commits
      }
      write.Finalize();
    }
    conn.Commit();
    return CACHE_OK;
  });
}

template <class Record>
int LoadRows(const std::string& sql, const char* code, int category, std::vector<Record>& out, WideText* stamp,
             const char* table) {
  return RunCacheOperation([&](CacheConnection&, SQLite3Database& db) {
    if (!QuoteTableReadyOn(db, table)) return CACHE_NOTHING;
    SQLite3Statement st = db.CompileStatement(sql.c_str());
    int next = 1;
    if (code) st.Bind(next++, code);
    st.Bind(next, category);
    for (SQLite3Query q = st.ExecQuery(); !q.Eof(); q.NextRow()) {
      if constexpr (std::is_same_v<Record, StockDetailRecord>) {
        out.push_back(ReadDetailRecord(q));
      } else {
        out.push_back(ReadStockRecord(q));
      }
      if (stamp) *stamp = ReadRowStamp(q);
    }
    return CACHE_OK;
  });
}

}  // namespace

int StoreQuote(const char* narrow_table, const StockRecord& record, WideView stamp, bool allow_update) {
  return StoreOneQuote(narrow_table, record, stamp, allow_update, false);
}

int StoreQuote(const char* narrow_table, const StockDetailRecord& record, WideView stamp, bool allow_update,
               bool full_record) {
  return StoreOneQuote(narrow_table, record, stamp, allow_update, full_record);
}

int FindStoredCodes(SQLite3Database* db, const char* narrow_table, std::span<const StockRecord> records,
                    std::unordered_set<std::string>& stored) {
  if (!db || !narrow_table || !*narrow_table || records.empty()) return CACHE_NOTHING;
  // "SELECT code FROM %s WHERE code IN (%s)". Codes come from the network:
  // each is a quoted literal, so none can change the statement. The text
  // grows with the answer instead of being cut at a fixed size.
  std::string in_list;
  in_list.reserve(records.size() * 12);
  for (const StockRecord& r : records) {
    if (!in_list.empty()) in_list += ',';
    AppendSqlLiteral(in_list, Narrow(r.code));
  }
  std::string sql = "SELECT code FROM ";
  sql += narrow_table;
  sql += " WHERE code IN (";
  sql += in_list;
  sql += ')';
  stored.reserve(records.size());
  for (SQLite3Query q = db->ExecQuery(sql.c_str()); !q.Eof(); q.NextRow()) {
    const char* code = q.FieldValue(0);
    if (code && *code) stored.insert(code);
  }
  return CACHE_OK;
}

int StoreQuoteList(const char* narrow_table, std::span<const StockRecord> records, WideView stamp) {
  if (!narrow_table || !*narrow_table || records.empty()) return CACHE_NOTHING;
  const std::string insert_sql = FormatSql(kSqlBufferLarge, kShortInsertFormat, narrow_table);
  const std::string update_sql = FormatSql(kSqlBufferLarge, kShortUpdateFormat, narrow_table);
  const std::string narrow_stamp = Narrow(stamp);
  return RunCacheOperation([&](CacheConnection& conn, SQLite3Database& db) {
    if (!QuoteTableReadyOn(db, narrow_table)) return CACHE_NOTHING;
    ApplyPragmas(&db);
    std::unordered_set<std::string> stored;
    FindStoredCodes(&db, narrow_table, records, stored);
    conn.Begin(false);
    SQLite3Statement insert = db.CompileStatement(insert_sql.c_str());
    SQLite3Statement update = db.CompileStatement(update_sql.c_str());
    for (const StockRecord& r : records) {
      try {
        if (stored.count(Narrow(r.code))) {
          BindShortUpdate(update, r, narrow_stamp.c_str());
          update.ExecDML();
        } else {
          BindShortInsert(insert, r, narrow_stamp.c_str());
          insert.ExecDML();
        }
      } catch (const SQLite3Exception& e) {
        ReportCacheError(e);  // this row is lost; the others go on
      }
    }
    insert.Finalize();
    update.Finalize();
    conn.Commit();
    return CACHE_OK;
  });
}

int LoadQuotesOfCategory(const char* narrow_table, int category, std::vector<StockRecord>& out) {
  if (!narrow_table || !*narrow_table) return CACHE_NOTHING;
  return LoadRows(FormatSql(kSqlBufferSmall, kLoadCategoryFormat, narrow_table), nullptr, category, out, nullptr,
                  narrow_table);
}

int LoadQuote(const char* narrow_table, const char* narrow_code, int category, std::vector<StockDetailRecord>& out,
              WideText& stamp) {
  if (!narrow_table || !*narrow_table || !narrow_code) return CACHE_NOTHING;
  return LoadRows(FormatSql(kSqlBufferSmall, kLoadQuoteFormat, narrow_table), narrow_code, category, out, &stamp,
                  narrow_table);
}

}  // namespace brantel
