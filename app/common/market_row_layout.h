#pragma once
// What one row of a market list shows, cell by cell, before it goes into the
// list control: texts (alternatives joined by "^"), rectangles, colours,
// formats and the star image. Plain data, so the layout is checked without
// a window.

#include <cstdint>
#include <vector>

#include "platform/gfx/device_context.h"
#include "platform/gfx/geometry.h"
#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

inline constexpr int kMarketRowHeight = 70;
inline constexpr int kMarketSectionHeight = 42;
inline constexpr int kMarketHeaderHeight = 42;
inline constexpr int kMarketCellFontHeight = 24;
inline constexpr int kMarketSectionFontHeight = 22;
inline constexpr uint32_t kMarketNameColour = 0x94FFEF;
inline constexpr uint32_t kMarketWhite = 0xFFFFFF;
inline constexpr uint32_t kMarketSectionColour = 0x999999;
inline constexpr int kMarketSectionImage = 1018;
inline constexpr int kMarketStarOff = 1056;
inline constexpr int kMarketStarOn = 1057;
// The MyPage star's picture, on or off (every quote list's), and its place
// at the right end of a 70-pixel row (the editor's mark takes the same).
inline constexpr uint32_t StarImage(bool in_mypage) { return in_mypage ? kMarketStarOn : kMarketStarOff; }
inline constexpr Rect kQuoteRowStarRect{435, 10, 475, 50};
// A cell's one line, cut with "..." when too long. Names are shown as
// received: an "&" is a character, never an underline marker.
inline constexpr uint32_t kMarketLineLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
inline constexpr uint32_t kMarketLineRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

// How the rows of a list are laid out.
enum class MarketRowStyle {
  kChangeWithCode,  // stock index and ranking: name or code, price, change
  kChange,          // interest rates and commodities: name, price, change
  kExchange,        // name, rate, standard-currency unit; no change colouring
};

struct MarketCell {
  int cell_id = 0;
  int column_id = 0;  // header column whose alternative the cell follows
  Rect rect;          // relative to the row
  WideText text;      // alternatives joined by "^"
  uint32_t colour = kMarketWhite;
  uint32_t format = 0;
  int font_height = kMarketCellFontHeight;
  int image_id = 0;   // > 0: an image cell
};

struct MarketRow {
  bool section = false;
  int height = kMarketRowHeight;
  int background_image = 0;
  WideText key;  // empty for section rows
  std::vector<MarketCell> cells;
};

struct MarketHeaderColumn {
  int id = 0;
  int width = 0;
  WideText caption;  // alternatives joined by "^"
  Rect hit;          // the caption box
  uint32_t format = 0;
};

// A text cell following header column `column`, and a picture cell.
MarketCell MarketTextCell(int id, int column, Rect rect, WideText text, uint32_t colour, uint32_t format);
MarketCell MarketImageCell(int id, Rect rect, int image_id);
// A section row's band (picture and height), without its captions.
MarketRow SectionRowBase();

MarketRowStyle MarketRowStyleOf(int32_t category);
// The star's cell index: 3 in the exchange list, 4 elsewhere.
int MarketStarCell(int32_t category);

// The name as shown: every "&&" becomes "&".
WideText MarketDisplayName(WideView codename);
// The part of a standard currency code after its first "@" ("FX@KRW" -> "KRW").
WideText CurrencyUnit(WideView standard_code);
// The caption row of the ranking list; empty for an unknown sub-kind.
WideText RankingCaption(int32_t sub_kind);

// One quote row. `category` goes into the key when the record has none;
// `unit` is the exchange list's currency unit.
MarketRow BuildMarketRow(const StockRecord& record, int32_t category, MarketRowStyle style, bool in_mypage,
                         WideView unit);
MarketRow BuildSectionRow(WideView caption, int list_width);

// The three header columns of the list of `category`.
std::vector<MarketHeaderColumn> MarketHeaderColumns(int32_t category);

}  // namespace brantel
