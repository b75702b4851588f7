#pragma once
// The category codes (gubun) that name every kind of market data, their kind
// names (the registry value names of the last-update stamps) and the display
// names of the market groups.

#include <cstdint>

#include "platform/text.h"

namespace brantel {

inline constexpr int32_t kCategoryMaster = 0;
inline constexpr int32_t kCategoryStock = 1;
inline constexpr int32_t kCategoryIndex = 2;
inline constexpr int32_t kCategoryExchange = 3;
inline constexpr int32_t kCategoryInterestRate = 4;
inline constexpr int32_t kCategoryFutures = 5;
inline constexpr int32_t kCategoryRanking = 6;
inline constexpr int32_t kCategoryMyPage = 7;
inline constexpr int32_t kCategorySearch = 8;

// Sub-kinds of the ranking.
inline constexpr int32_t kRankingTradeVolume = 0;
inline constexpr int32_t kRankingTradeValue = 1;
inline constexpr int32_t kRankingMarketCap = 2;

// "master", "stockitem", ... ; the ranking's sub-kind picks "tradeamount"
// (0 and anything but 1 and 2), "trademoney" (1) or "marketcapital" (2).
// Empty for codes outside 0 to 8.
WideText CategoryKindName(int32_t category, int32_t sub_kind = 0);

// The caption of a market group ("국내지수", "Asia", ...); empty when the
// category or the group text has none.
WideText GroupName(int32_t category, WideView group);

}  // namespace brantel
