// The soft-key menus of the screens. Each menu is two soft keys: a command
// or a pop-up on the left, the screen's "메뉴" pop-up on the right.
#include "resources/module/stock_resource_tables.h"

namespace brantel::stock_resource {

namespace {

constexpr uint32_t kPopup = BRANTEL_MENU_ITEM_POPUP;
constexpr uint32_t kSeparator = BRANTEL_MENU_ITEM_SEPARATOR;

// Commands the screens handle.
enum : uint32_t {
  kEdit = 40001,
  kExit = 40003,
  kVersion = 40004,
  kRefresh = 40005,
  kSave = 40006,
  kCancel = 40007,
  kClear = 40009,
  kLandscape = 40014,
  kCloseDetail = 40017,
  kCloseVersion = 40018,
  kRankVolume = 40030,
  kRankValue = 40031,
  kRankCapital = 40032,
};

#define MENU_TAIL                                                                                      \
  {1, 0, kVersion, "버전 정보"}, {1, kSeparator, 0, nullptr}, { 1, 0, kExit, "종료" }

// Stock index, interest-rate and commodity lists.
const BrantelMenuItemEntry kMarketList[] = {
    {0, 0, kRefresh, "새로고침"},
    {0, kPopup, 0, "메뉴"},
    MENU_TAIL,
};

// Exchange list: the left pop-up is the currency choice, whose items the
// menu bar inserts at run time (50000 + row), so it starts empty.
const BrantelMenuItemEntry kExchangeList[] = {
    {0, kPopup, 0, "기준통화"},
    {0, kPopup, 0, "메뉴"},
    {1, 0, kRefresh, "새로고침"},
    MENU_TAIL,
};

// Stock ranking list: the left pop-up chooses the ranking.
const BrantelMenuItemEntry kRankingList[] = {
    {0, kPopup, 0, "순위"},
    {1, 0, kRankVolume, "거래량 상위"},
    {1, 0, kRankValue, "거래대금 상위"},
    {1, 0, kRankCapital, "시가총액 상위"},
    {0, kPopup, 0, "메뉴"},
    {1, 0, kRefresh, "새로고침"},
    MENU_TAIL,
};

const BrantelMenuItemEntry kStockDetail[] = {
    {0, 0, kCloseDetail, "닫기"},
    {0, kPopup, 0, "메뉴"},
    {1, 0, kRefresh, "새로고침"},
    {1, 0, kLandscape, "가로 보기"},
    MENU_TAIL,
};

const BrantelMenuItemEntry kSearch[] = {
    {0, 0, kClear, "지우기"},
    {0, kPopup, 0, "메뉴"},
    MENU_TAIL,
};

const BrantelMenuItemEntry kMyPage[] = {
    {0, 0, kEdit, "편집"},
    {0, kPopup, 0, "메뉴"},
    {1, 0, kRefresh, "새로고침"},
    MENU_TAIL,
};

const BrantelMenuItemEntry kMyPageEditor[] = {
    {0, 0, kSave, "저장"},
    {0, 0, kCancel, "취소"},
};

// The version dialog: one soft key that closes it.
const BrantelMenuItemEntry kVersionInfo[] = {
    {0, 0, kCloseVersion, "닫기"},
};

#undef MENU_TAIL

template <size_t N>
constexpr BrantelMenuEntry MenuOf(uint32_t number, const BrantelMenuItemEntry (&items)[N]) {
  return {number, items, uint32_t(N)};
}

const BrantelMenuEntry kMenus[] = {
    MenuOf(40010, kMarketList),    // stock indices
    MenuOf(40011, kExchangeList),  // exchange rates
    MenuOf(40012, kMarketList),    // interest rates
    MenuOf(40013, kMarketList),    // commodities
    MenuOf(237, kRankingList),     // stock ranking
    MenuOf(234, kStockDetail),
    MenuOf(40016, kSearch),
    MenuOf(40014, kMyPage),
    MenuOf(40015, kMyPageEditor),
    MenuOf(40020, kVersionInfo),
};

}  // namespace

std::span<const BrantelMenuEntry> Menus() { return kMenus; }

}  // namespace brantel::stock_resource
