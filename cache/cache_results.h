#pragma once
// Results of the cache operations and the watch-list limit.

namespace brantel {

inline constexpr int CACHE_OK = 1;        // done
inline constexpr int CACHE_NOTHING = 0;   // argument missing, no path, or table absent
inline constexpr int CACHE_DB_ERROR = 99; // a database error was caught
inline constexpr int MYPAGE_LIMIT = 200;  // the watch list is full

inline constexpr int kMyPageMaxEntries = 200;

// Table names; the quote table is always "StockData".
inline constexpr const char* kMyPageTable = "MyPage";
inline constexpr const char* kQuoteTable = "StockData";
inline constexpr const char* kStockRankTable = "StockRank";

}  // namespace brantel
