#pragma once
// Moving quote records in and out of quote-table rows: the statement texts,
// the order in which they name their parameters, and the column order of the
// loads. Text crosses as device-code-page text; gubun as an integer.

#include "cache/sqlite3_query.h"
#include "cache/sqlite3_statement.h"
#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

// "%s" = table name.
extern const char* const kShortInsertFormat;
extern const char* const kShortUpdateFormat;
extern const char* const kFullInsertFormat;
extern const char* const kFullUpdateFormat;
extern const char* const kSelectCodeOfCategoryFormat;  // SELECT code ... WHERE code=? AND gubun=?


// Bind a record to the short or full INSERT/UPDATE. The short form takes
// either record (the detail record supplies its short fields).
void BindShortInsert(SQLite3Statement& st, const StockRecord& r, const char* stamp);
void BindShortInsert(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp);
void BindShortUpdate(SQLite3Statement& st, const StockRecord& r, const char* stamp);
void BindShortUpdate(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp);
void BindFullInsert(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp);
void BindFullUpdate(SQLite3Statement& st, const StockDetailRecord& r, const char* stamp);

// Fill a record from the current row of a load; a null column gives "".
StockRecord ReadStockRecord(const SQLite3Query& q);
StockDetailRecord ReadDetailRecord(const SQLite3Query& q);
// A column of the current row as wide text; a null column gives "".
WideText ColumnText(const SQLite3Query& q, int column);
// The row's lastupdatetime as wide text.
WideText ReadRowStamp(const SQLite3Query& q);

}  // namespace brantel
