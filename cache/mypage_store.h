#pragma once
// The watch list (MyPage) in the cache: at most 200 entries, one per code.
// Results: 1 done, 0 nothing done, 99 database error, 200 list full.

#include <span>
#include <vector>

#include "cache/sqlite3_database.h"
#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

// Number of entries; 0 when the path fails, 99 on error. The second form
// counts on an open connection and throws on error.
int CountMyPage();
int CountMyPage(SQLite3Database& db);

// Sets lastupdatetime of every entry.
int StampMyPage(const char* narrow_stamp);
// 1 whenever the table exists, whether or not a row matched.
int RemoveMyPageItem(const char* narrow_code, int category);
int ClearMyPage();

// Adds one entry and stores its quote: 1 added, 0 already on the list under
// this category, 200 list full, 99 error (also for a code on the list under
// another category).
int AddMyPageItem(const StockRecord& record, WideView stamp, bool allow_update, bool enforce_limit);

// Appends entries in list order in one transaction; any failure rolls all of
// them back. With `enforce_limit` a list already holding 200 gives 200.
int StoreMyPageList(std::span<const StockRecord> records, WideView stamp, bool enforce_limit);

// Replaces the whole watch list in one transaction (what the edit screen
// saves): when any insert fails the old list stays. An empty list empties
// it. With `enforce_limit` a list longer than 200 gives 200 and changes
// nothing.
int ReplaceMyPageList(std::span<const StockRecord> records, WideView stamp, bool enforce_limit);

// Appends to `out` the codes of the IN-list text that are on the watch list.
// `codes_text` is the inside of an IN list with every code quoted as an SQL
// literal (BuildQuotedCodeList); 0 for an empty text without opening.
int FindMyPageCodes(WideView codes_text, std::vector<WideText>& out);
// The same for plain codes, quoted here.
int FindMyPageCodesOf(std::span<const WideText> codes, std::vector<WideText>& out);

// Watch-list entries that have a quote row, by category and then in list
// order; `stamp` receives the last row's lastupdatetime.
int LoadMyPage(std::vector<StockRecord>& out, WideText& stamp);

// Every watch-list entry (code, category, group), with or without a quote
// row, by category and then in list order.
int LoadMyPageEntries(std::vector<StockRecord>& out);

}  // namespace brantel
