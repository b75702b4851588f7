#include "cache/rank_store.h"

#include "cache/cache_connection.h"
#include "cache/cache_results.h"
#include "cache/cache_tables.h"
#include "cache/code_list_rows.h"
#include "cache/quote_rows.h"
#include "cache/sql_text.h"

namespace brantel {

namespace {

const char* const kClearFormat = "DELETE FROM %s WHERE gubun=?";
const char* const kLoadFormat =
    "SELECT DATA.code, DATA.codename, DATA.gubun, DATA.sub_gubun, DATA.current_price, DATA.daebi, DATA.rate, "
    "DATA.high, DATA.low, DATA.trade_amount, DATA.yesterday_price, DATA.open_price, DATA.high52, "
    "DATA.high52datetime, DATA.low52, DATA.low52datetime, DATA.date, DATA.time, DATA.lastupdatetime FROM %s AS "
    "RANK, %s AS DATA WHERE RANK.code=DATA.code AND %d=DATA.gubun AND RANK.gubun=%d ORDER BY RANK.uid";

void DeleteRankRows(SQLite3Database& db, int ranking_kind) {
  SQLite3Statement clear = db.CompileStatement(FormatSql(kSqlBufferSmall, kClearFormat, kStockRankTable).c_str());
  clear.Bind(1, ranking_kind);
  clear.ExecDML();
  clear.Finalize();
}

// Store and replace differ only in clearing the kind's old rows first, in the
// same transaction (a failure rolls back and the old rows stay).
int WriteRankRows(std::span<const StockRecord> records, int ranking_kind, WideView stamp, bool clear_first) {
  if (records.empty() || ranking_kind < 0) return CACHE_NOTHING;
  return RunCacheOperation([&](CacheConnection& conn, SQLite3Database& db) {
    if (!StockRankTableReadyOn(db)) return CACHE_NOTHING;
    conn.Begin();
    if (clear_first) DeleteRankRows(db, ranking_kind);
    InsertCodeRows(db, kStockRankTable, records, ranking_kind, Narrow(stamp));
    conn.Commit();
    return CACHE_OK;
  });
}

}  // namespace

int ClearStockRank(int ranking_kind) {
  return RunCacheOperation([&](CacheConnection& conn, SQLite3Database& db) {
    if (!db.TableExists(kStockRankTable)) return CACHE_NOTHING;
    conn.Begin(false);
    DeleteRankRows(db, ranking_kind);
    conn.Commit();
    return CACHE_OK;
  });
}

int StoreStockRank(std::span<const StockRecord> records, int ranking_kind, WideView stamp) {
  return WriteRankRows(records, ranking_kind, stamp, false);
}

int ReplaceStockRank(std::span<const StockRecord> records, int ranking_kind, WideView stamp) {
  return WriteRankRows(records, ranking_kind, stamp, true);
}

int LoadStockRank(int quote_category, int ranking_kind, std::vector<StockRecord>& out) {
  const std::string sql = FormatSql(kSqlBufferSmall, kLoadFormat, kStockRankTable, kQuoteTable, quote_category, ranking_kind);
  return RunCacheOperation([&](CacheConnection&, SQLite3Database& db) {
    if (!StockRankTableReadyOn(db) || !QuoteTableReadyOn(db, kQuoteTable)) return CACHE_NOTHING;
    for (SQLite3Query q = db.ExecQuery(sql.c_str()); !q.Eof(); q.NextRow()) out.push_back(ReadStockRecord(q));
    return CACHE_OK;
  });
}

}  // namespace brantel
