#pragma once
// The five sub-screens of the market screen: which list window each shows,
// with its tab, window name, child id, refresh timer, category and menu.

#include <cstdint>

#include "protocol/categories.h"

namespace brantel {

struct MarketSubScreen {
  int code;                     // 11 to 15
  int tab_id;
  const char16_t* tab_caption;
  const char16_t* window_name;  // of the list window
  int child_id;
  int refresh_timer;
  int32_t category;
  int menu;                     // the menu bar's menu while shown
};

inline constexpr int kMarketIndexScreen = 11;
inline constexpr int kMarketExchangeScreen = 12;
inline constexpr int kMarketInterestScreen = 13;
inline constexpr int kMarketCommodityScreen = 14;
inline constexpr int kMarketRankingScreen = 15;

inline constexpr MarketSubScreen kMarketSubScreens[] = {
    {kMarketIndexScreen, 11101, u"지수", u"Market Stock Window", 10003, 1001, kCategoryIndex, 40010},
    {kMarketExchangeScreen, 11102, u"환율", u"Market Exchange Window", 10004, 1002, kCategoryExchange, 40011},
    {kMarketInterestScreen, 11103, u"금리", u"Market Money Window", 10005, 1003, kCategoryInterestRate, 40012},
    {kMarketCommodityScreen, 11104, u"상품", u"Market Futures Window", 10006, 1004, kCategoryFutures, 40013},
    {kMarketRankingScreen, 11105, u"종목", u"Market StockItem Window", 10008, 1008, kCategoryRanking, 237},
};

// Null for an unknown code or tab id.
inline const MarketSubScreen* MarketSubScreenOfCode(int code) {
  for (const MarketSubScreen& s : kMarketSubScreens)
    if (s.code == code) return &s;
  return nullptr;
}
inline const MarketSubScreen* MarketSubScreenOfTab(int tab_id) {
  for (const MarketSubScreen& s : kMarketSubScreens)
    if (s.tab_id == tab_id) return &s;
  return nullptr;
}

// Timers of the market screen.
inline constexpr uintptr_t kMarketNetworkTimer = 1006;
inline constexpr uintptr_t kMarketExitRetryTimer = 1007;
inline constexpr uint32_t kMarketExitRetryMs = 2000;
inline constexpr uint32_t kMarketTimerDelayMs = 100;
inline constexpr uint32_t kMarketSaveWaitMs = 1000;

}  // namespace brantel
