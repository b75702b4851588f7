#pragma once
// The rows of the two code lists, MyPage and StockRank: code, gubun,
// sub_gubun and lastupdatetime, kept in the order they were inserted (uid).

#include <optional>
#include <span>
#include <string>

#include "cache/sqlite3_database.h"
#include "protocol/records.h"

namespace brantel {

// Inserts one row per record into `table` (MyPage or StockRank); gubun is
// `category` when given (a ranking kind), else the record's own.
void InsertCodeRows(SQLite3Database& db, const char* table, std::span<const StockRecord> records,
                    std::optional<int> category, const std::string& narrow_stamp);

}  // namespace brantel
