#include "app/common/market_row_layout.h"

#include "platform/gfx/device_context.h"
#include "protocol/categories.h"
#include "protocol/change_mark.h"
#include "protocol/row_key.h"

namespace brantel {

namespace {

constexpr uint32_t kChangeFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

constexpr Rect kNameRect{5, 9, 156, 63};
constexpr Rect kPriceRect{161, 9, 277, 63};
constexpr Rect kChangeRect{329, 9, 425, 63};
constexpr Rect kMarkerRect{303, 19, 329, 45};

MarketCell StarCell(int id, bool in_mypage) { return MarketImageCell(id, kQuoteRowStarRect, StarImage(in_mypage)); }

WideText WithoutMinus(WideView text) { return ReplaceAll(text, u"-", u""); }

}  // namespace

MarketCell MarketTextCell(int id, int column, Rect rect, WideText text, uint32_t colour, uint32_t format) {
  MarketCell cell;
  cell.cell_id = id;
  cell.column_id = column;
  cell.rect = rect;
  cell.text = std::move(text);
  cell.colour = colour;
  cell.format = format;
  return cell;
}

MarketCell MarketImageCell(int id, Rect rect, int image_id) {
  MarketCell cell;
  cell.cell_id = id;
  cell.column_id = id;  // no header column cycles it
  cell.rect = rect;
  cell.image_id = image_id;
  return cell;
}

MarketRow SectionRowBase() {
  MarketRow row;
  row.section = true;
  row.height = kMarketSectionHeight;
  row.background_image = kMarketSectionImage;
  return row;
}

MarketRowStyle MarketRowStyleOf(int32_t category) {
  switch (category) {
    case kCategoryExchange:
      return MarketRowStyle::kExchange;
    case kCategoryIndex:
    case kCategoryRanking:
      return MarketRowStyle::kChangeWithCode;
    default:
      return MarketRowStyle::kChange;
  }
}

int MarketStarCell(int32_t category) { return category == kCategoryExchange ? 3 : 4; }

WideText MarketDisplayName(WideView codename) { return ReplaceAll(codename, u"&&", u"&"); }

WideText CurrencyUnit(WideView standard_code) {
  const size_t at = standard_code.find(u'@');
  return at == WideView::npos ? WideText(standard_code) : WideText(standard_code.substr(at + 1));
}

WideText RankingCaption(int32_t sub_kind) {
  switch (sub_kind) {
    case kRankingTradeVolume:
      return u"거래량상위 종목";
    case kRankingTradeValue:
      return u"거래대금상위 종목";
    case kRankingMarketCap:
      return u"시가총액상위 종목";
    default:
      return {};
  }
}

MarketRow BuildMarketRow(const StockRecord& record, int32_t category, MarketRowStyle style, bool in_mypage,
                         WideView unit) {
  MarketRow row;
  const WideText name = MarketDisplayName(record.codename);
  WideText change = record.daebi;
  WideText sign, marker;
  uint32_t colour = kChangeColourFlat;
  FormatChangeMark(change, sign, marker, colour);

  const int32_t key_category = record.gubun > 0 ? record.gubun : category;
  row.key = BuildRowKey(record.code, key_category, record.item, in_mypage ? u"1" : u"0", record.codename, sign);

  if (style == MarketRowStyle::kExchange) {
    row.cells.push_back(MarketTextCell(0, 0, kNameRect, name, kMarketNameColour, kMarketLineLeft));
    row.cells.push_back(MarketTextCell(1, 1, kPriceRect, record.current_price, kMarketWhite, kMarketLineRight));
    row.cells.push_back(MarketTextCell(2, 2, kChangeRect, WideText(unit), kMarketWhite, kChangeFormat));
    row.cells.push_back(StarCell(3, in_mypage));
    return row;
  }
  const WideText name_text = style == MarketRowStyle::kChangeWithCode ? name + u"^" + record.code : name;
  row.cells.push_back(MarketTextCell(0, 0, kNameRect, name_text, kMarketNameColour, kMarketLineLeft));
  row.cells.push_back(MarketTextCell(1, 1, kPriceRect, record.current_price, kMarketWhite, kMarketLineRight));
  const WideText change_text = change + u"^" + WithoutMinus(record.rate) + u"^" + record.date;
  row.cells.push_back(MarketTextCell(2, 2, kChangeRect, change_text, colour, kChangeFormat));
  row.cells.push_back(MarketTextCell(3, 2, kMarkerRect, marker, colour, kChangeFormat));
  row.cells.push_back(StarCell(4, in_mypage));
  return row;
}

MarketRow BuildSectionRow(WideView caption, int list_width) {
  MarketRow row = SectionRowBase();
  MarketCell cell = MarketTextCell(0, 0, Rect{5, 0, list_width, kMarketSectionHeight}, WideText(caption),
                             kMarketSectionColour, kMarketLineLeft);
  cell.font_height = kMarketSectionFontHeight;
  row.cells.push_back(std::move(cell));
  return row;
}

std::vector<MarketHeaderColumn> MarketHeaderColumns(int32_t category) {
  // The header lays its columns out by width, left to right, and draws each
  // caption in its column; the caption boxes are the tap areas.
  const WideText change = u"등락^등락률^시간";
  switch (category) {
    case kCategoryExchange:
      return {{0, 70, u"통화명", {5, 2, 75, 42}, DT_LEFT},
              {1, 70, u"환율", {207, 2, 277, 42}, DT_RIGHT},
              {2, 120, u"환산통화", {305, 2, 425, 42}, DT_RIGHT}};
    case kCategoryInterestRate:
      return {{0, 207, u"금리명", {5, 2, 75, 42}, DT_LEFT},
              {1, 120, u"수익률", {207, 2, 277, 42}, DT_RIGHT},
              {2, 98, change, {327, 2, 397, 42}, DT_RIGHT}};
    case kCategoryFutures:
      return {{0, 207, u"상품명", {5, 2, 75, 42}, DT_RIGHT},
              {1, 120, u"현재가", {207, 2, 277, 42}, DT_RIGHT},
              {2, 98, change, {327, 2, 397, 42}, DT_RIGHT}};
    case kCategoryRanking:
      return {{0, 207, u"종목명^코드", {5, 2, 103, 42}, DT_LEFT},
              {1, 120, u"현재가", {207, 2, 277, 42}, DT_RIGHT},
              {2, 98, change, {327, 2, 397, 42}, DT_RIGHT}};
    default:
      return {{0, 207, u"지수명^코드", {5, 2, 103, 42}, DT_LEFT},
              {1, 120, u"현재가", {207, 2, 277, 42}, DT_RIGHT},
              {2, 98, change, {327, 2, 397, 42}, DT_RIGHT}};
  }
}

}  // namespace brantel
