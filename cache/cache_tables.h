#pragma once
// The three cache tables and their indexes. Each creator opens its own
// connection, creates the table when absent and then its index; an existing
// table is used unchanged (there is no schema version).

#include "cache/sqlite3_database.h"

namespace brantel {

// Creation texts, exactly as stored in sqlite_master.
extern const char* const kMyPageCreateSql;
extern const char* const kMyPageIndexSql;
extern const char* const kQuoteTableCreateFormat;  // "%s" = table name
extern const char* const kQuoteTableIndexFormat;   // "%s" twice
extern const char* const kStockRankCreateSql;
extern const char* const kStockRankIndexSql;

// 1 done (or already there), 0 when the path fails, 99 on a database error.
int EnsureMyPageTable();
int EnsureQuoteTable(const char* narrow_table);
int EnsureStockRankTable();

// The same on an open connection: true when the table is there, else whether
// the creator above (on its own connection) found a path to make it.
bool MyPageTableReadyOn(SQLite3Database& db);
bool QuoteTableReadyOn(SQLite3Database& db, const char* narrow_table);
bool StockRankTableReadyOn(SQLite3Database& db);

// Start-up order of the main dialog: MyPage, "StockData", StockRank.
void EnsureCacheTables();

}  // namespace brantel
