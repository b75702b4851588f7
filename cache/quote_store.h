#pragma once
// The quote table: storing the rows of answers and loading them for the
// screens. Every operation opens its own connection and returns 1 (done),
// 0 (nothing done) or 99 (a database error was caught).

#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "cache/sqlite3_database.h"
#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

// Insert-or-update of one row by code and category. A row already there is
// replaced only when `allow_update` is set. The detail record is written in
// its full form unless `full_record` is clear.
int StoreQuote(const char* narrow_table, const StockRecord& record, WideView stamp, bool allow_update);
int StoreQuote(const char* narrow_table, const StockDetailRecord& record, WideView stamp, bool allow_update,
               bool full_record = true);

// Insert-or-update of a whole answer in one transaction. A single write that
// fails (a code stored under another category) is skipped; the rest commits.
int StoreQuoteList(const char* narrow_table, std::span<const StockRecord> records, WideView stamp);

// The codes of `records` already in the table, by one IN query on an open
// connection; each code is quoted as an SQL literal. 1, or 0 for an empty
// list or a missing argument. Throws on a database error.
int FindStoredCodes(SQLite3Database* db, const char* narrow_table, std::span<const StockRecord> records,
                    std::unordered_set<std::string>& stored);

// Loads append new records at the tail of `out`.
int LoadQuotesOfCategory(const char* narrow_table, int category, std::vector<StockRecord>& out);
// `stamp` receives the lastupdatetime of the last row read.
int LoadQuote(const char* narrow_table, const char* narrow_code, int category, std::vector<StockDetailRecord>& out,
              WideText& stamp);

}  // namespace brantel
