#pragma once
// What the cache-backed commands (search, mypage, list) share: loading the master
// list as the viewer's start-up does, and printing cached or fresh rows.

#include <string>
#include <vector>

#include "platform/text.h"
#include "protocol/records.h"
#include "tools/brantel-quote/quote_command.h"

namespace brantel::quote_tool {

// Takes "--offline" out of `args`; true when it was there.
bool TakeOfflineFlag(std::vector<std::string>& args);

// Fills the process-wide master list: the start-up refresh (the server is
// asked whether a newer list exists; the stored one is used otherwise), or
// with `offline` only the stored list. False when there is none.
bool LoadMasterList(bool offline);

// Rows as a table: code, name, price, change, rate, time; `heading` first.
void PrintQuoteRows(const char* heading, const std::vector<StockRecord>& rows, const QuoteOptions& options);
// A JSON array of rows.
std::string QuoteRowsJson(const std::vector<StockRecord>& rows);

// The cached rows of a list, shown before the server is asked: a table under
// "cached (stored STAMP):", or with --json the member
// "cached": {"stamp": ..., "rows": [...]} (no braces around it).
void PrintCachedRows(const std::vector<StockRecord>& rows, WideView stamp, const QuoteOptions& options);

// The note after cached rows when the server gave no answer, naming the
// rows' stamp (text output only; --json readers see no "fresh" member).
void PrintCachedOnlyNote(WideView stamp, const QuoteOptions& options);

// "2026-12-07 10:30:00" style text of a stamp, or "never" when empty.
std::string StampText(WideView stamp);

}  // namespace brantel::quote_tool
