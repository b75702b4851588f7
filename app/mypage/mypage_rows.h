#pragma once
// The rows of the MyPage list and of its editor, as plain data (MarketRow)
// so they are checked without a window. Entry rows of MyPage are the market
// lists' quote rows with the detail arrow (picture 1025) where the star is.

#include <cstdint>
#include <vector>

#include "app/common/market_row_layout.h"
#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

inline constexpr int kMyPageArrowImage = 1025;
// The editor's mark is the lists' MyPage star.
inline constexpr int kEditMarkedImage = StarImage(true);
inline constexpr int kEditUnmarkedImage = StarImage(false);
// The cell of an editor row that toggles the mark.
inline constexpr int kEditMarkCell = 1;

// The three captions of a category's section row; empty for an unknown one.
struct SectionCaptions {
  WideText name, price, change;  // change: alternatives joined by "^"
};
SectionCaptions SectionCaptionsOf(int32_t category);

// A record is shown when its code, name and group are set and its category
// is 0 or more.
bool IsShownRecord(const StockRecord& record);

MarketRow MyPageSectionRow(int32_t category);
// `unit` is the currency unit of the exchange entries ("KRW").
MarketRow MyPageEntryRow(const StockRecord& record, WideView unit);
// Section rows at each change of category, one entry row per shown record.
std::vector<MarketRow> PlanMyPageRows(const std::vector<StockRecord>& records);

MarketRow EditSectionRow(int32_t category);
MarketRow EditEntryRow(const StockRecord& record, bool marked);
std::vector<MarketRow> PlanEditRows(const std::vector<StockRecord>& records);

// The watch list an editor's rows save: in row order, every readable key
// whose flag is "1" (code, category, group and name from the key).
std::vector<StockRecord> MarkedEntries(const std::vector<WideText>& row_keys);

}  // namespace brantel
