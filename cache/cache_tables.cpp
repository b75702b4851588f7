#include "cache/cache_tables.h"

#include "cache/cache_connection.h"
#include "cache/cache_results.h"
#include "cache/sql_text.h"

namespace brantel {

const char* const kMyPageCreateSql =
    "CREATE TABLE [MyPage] ( [uid] INTEGER  PRIMARY KEY AUTOINCREMENT NOT NULL, [code] VARCHAR(32) UNIQUE NOT "
    "NULL, [gubun] INTEGER DEFAULT '0' NOT NULL, [sub_gubun] INTEGER DEFAULT '0' NOT NULL, [lastupdatetime] "
    "VARCHAR(32) NOT NULL)";
const char* const kMyPageIndexSql = "CREATE INDEX [idx_mypage] ON [MyPage]([code]  DESC, [gubun]  DESC, [sub_gubun]  DESC)";

// sub_gubun and the two 52-week dates are declared as text so that the
// server's texts read back exactly as written.
const char* const kQuoteTableCreateFormat =
    "CREATE TABLE [%s] ( [uid] INTEGER  PRIMARY KEY AUTOINCREMENT NOT NULL, [code] VARCHAR(32) UNIQUE NOT NULL, "
    "[codename] VARCHAR(128) NOT NULL, [gubun] INTEGER DEFAULT '0' NOT NULL, [sub_gubun] VARCHAR(32) DEFAULT '0', "
    "[current_price] VARCHAR(128) DEFAULT '0' NOT NULL, [daebi] VARCHAR(32) DEFAULT '0', [rate] VARCHAR(16) "
    "DEFAULT '0', [high] VARCHAR(32) DEFAULT '0', [low] VARCHAR(32) DEFAULT '0', [trade_amount] VARCHAR(20) "
    "DEFAULT '0', [yesterday_price] VARCHAR(20) DEFAULT '0', [open_price] VARCHAR(20) DEFAULT '0', [high52] "
    "VARCHAR(20) DEFAULT '0', [high52datetime] VARCHAR(32) DEFAULT '0', [low52] VARCHAR(20) DEFAULT '0', "
    "[low52datetime] VARCHAR(32) DEFAULT '0', [date] VARCHAR(16) DEFAULT '0', [time] VARCHAR(12) DEFAULT '0', "
    "[lastupdatetime] VARCHAR(32) NOT NULL)";
const char* const kQuoteTableIndexFormat = "CREATE INDEX [idx_%s] ON [%s]([code]  DESC, [gubun]  DESC, [codename]  DESC)";

const char* const kStockRankCreateSql =
    "CREATE TABLE [StockRank] ( [uid] INTEGER  PRIMARY KEY AUTOINCREMENT NOT NULL, [code] VARCHAR(32) NOT NULL, "
    "[gubun] INTEGER DEFAULT '0' NOT NULL, [sub_gubun] INTEGER DEFAULT '0', [lastupdatetime] VARCHAR(32) NOT NULL)";
const char* const kStockRankIndexSql = "CREATE INDEX [idx_StockRank] ON [StockRank]([code]  DESC, [gubun]  DESC)";

namespace {

int EnsureTable(const char* table, const std::string& create_sql, const std::string& index_sql) {
  return RunCacheOperation([&](CacheConnection&, SQLite3Database& db) {
    if (!db.TableExists(table)) {
      db.ExecQuery(create_sql.c_str());
      if (db.TableExists(table)) db.ExecQuery(index_sql.c_str());
    }
    return CACHE_OK;
  });
}

}  // namespace

int EnsureMyPageTable() { return EnsureTable(kMyPageTable, kMyPageCreateSql, kMyPageIndexSql); }

int EnsureQuoteTable(const char* narrow_table) {
  if (!narrow_table || !*narrow_table) return CACHE_NOTHING;
  return EnsureTable(narrow_table, FormatSql(kSqlBufferLarge, kQuoteTableCreateFormat, narrow_table),
                     FormatSql(kSqlBufferSmall, kQuoteTableIndexFormat, narrow_table, narrow_table));
}

int EnsureStockRankTable() { return EnsureTable(kStockRankTable, kStockRankCreateSql, kStockRankIndexSql); }

bool MyPageTableReadyOn(SQLite3Database& db) {
  return db.TableExists(kMyPageTable) || EnsureMyPageTable() != CACHE_NOTHING;
}

bool QuoteTableReadyOn(SQLite3Database& db, const char* narrow_table) {
  return db.TableExists(narrow_table) || EnsureQuoteTable(narrow_table) != CACHE_NOTHING;
}

bool StockRankTableReadyOn(SQLite3Database& db) {
  return db.TableExists(kStockRankTable) || EnsureStockRankTable() != CACHE_NOTHING;
}

void EnsureCacheTables() {
  EnsureMyPageTable();
  EnsureQuoteTable(kQuoteTable);
  EnsureStockRankTable();
}

}  // namespace brantel
