#include "app/mypage/mypage_rows.h"

#include "platform/gfx/device_context.h"
#include "protocol/categories.h"
#include "protocol/row_key.h"

namespace brantel {

namespace {

constexpr Rect kArrowRect{430, 15, 470, 55};
constexpr Rect kEditNameRect{10, 9, 435, 63};
constexpr int kEditCaptionHeight = 28;
constexpr char16_t kChangeCaptions[] = u"등락^등락률^시간";

MarketCell Caption(int id, Rect rect, WideText text, uint32_t format) {
  return MarketTextCell(id, id, rect, std::move(text), kMarketWhite, format);
}

template <typename MakeRow>
std::vector<MarketRow> PlanBySection(const std::vector<StockRecord>& records, MarketRow (*section)(int32_t),
                                     MakeRow entry) {
  std::vector<MarketRow> rows;
  rows.reserve(records.size() + 6);
  bool first = true;
  int32_t previous = 0;
  for (const StockRecord& r : records) {
    if (!IsShownRecord(r)) continue;
    if (first || r.gubun != previous) rows.push_back(section(r.gubun));
    first = false;
    previous = r.gubun;
    rows.push_back(entry(r));
  }
  return rows;
}

}  // namespace

SectionCaptions SectionCaptionsOf(int32_t category) {
  switch (category) {
    case kCategoryStock: return {u"종목명", u"현재가", kChangeCaptions};
    case kCategoryIndex: return {u"지수명", u"현재가", kChangeCaptions};
    case kCategoryExchange: return {u"통화명", u"환율", u"환산통화"};
    case kCategoryInterestRate: return {u"금리명", u"수익률", kChangeCaptions};
    case kCategoryFutures: return {u"상품명", u"현재가", kChangeCaptions};
    default: return {};
  }
}

bool IsShownRecord(const StockRecord& r) {
  return !r.code.empty() && !r.codename.empty() && !r.item.empty() && r.gubun >= 0;
}

MarketRow MyPageSectionRow(int32_t category) {
  const SectionCaptions c = SectionCaptionsOf(category);
  MarketRow row = SectionRowBase();
  row.cells.push_back(Caption(0, Rect{5, 0, 156, 42}, c.name, kMarketLineLeft));
  row.cells.push_back(Caption(1, Rect{161, 0, 277, 42}, c.price, kMarketLineRight));
  row.cells.push_back(Caption(2, Rect{303, 0, 425, 42}, c.change, kMarketLineRight));
  return row;
}

MarketRow MyPageEntryRow(const StockRecord& record, WideView unit) {
  const bool exchange = record.gubun == kCategoryExchange;
  MarketRow row = BuildMarketRow(record, record.gubun, exchange ? MarketRowStyle::kExchange : MarketRowStyle::kChange,
                                 true, unit);
  // The star of the market lists becomes the arrow to the detail.
  const int last = exchange ? 3 : 4;
  for (MarketCell& cell : row.cells)
    if (cell.cell_id == last) {
      cell.image_id = kMyPageArrowImage;
      cell.rect = kArrowRect;
    }
  return row;
}

std::vector<MarketRow> PlanMyPageRows(const std::vector<StockRecord>& records) {
  const WideText unit = CurrencyUnit(u"FX@KRW");
  return PlanBySection(records, &MyPageSectionRow, [&](const StockRecord& r) { return MyPageEntryRow(r, unit); });
}

MarketRow EditSectionRow(int32_t category) {
  MarketRow row = SectionRowBase();
  MarketCell cell = Caption(0, Rect{5, 0, 170, 42}, SectionCaptionsOf(category).name, kMarketLineLeft);
  cell.font_height = kEditCaptionHeight;
  row.cells.push_back(std::move(cell));
  return row;
}

MarketRow EditEntryRow(const StockRecord& record, bool marked) {
  MarketRow row;
  row.key = BuildRowKey(record.code, record.gubun, record.item, marked ? u"1" : u"0", record.codename, u" ");
  MarketCell name = Caption(0, kEditNameRect, MarketDisplayName(record.codename), kMarketLineLeft);
  name.colour = kMarketNameColour;
  row.cells.push_back(std::move(name));
  row.cells.push_back(MarketImageCell(kEditMarkCell, kQuoteRowStarRect, StarImage(marked)));
  return row;
}

std::vector<MarketRow> PlanEditRows(const std::vector<StockRecord>& records) {
  return PlanBySection(records, &EditSectionRow, [](const StockRecord& r) { return EditEntryRow(r, true); });
}

std::vector<StockRecord> MarkedEntries(const std::vector<WideText>& row_keys) {
  std::vector<StockRecord> out;
  for (const WideText& text : row_keys) {
    RowKey key;
    if (ParseRowKey(text, key) && key.in_mypage()) out.push_back(key.Record());
  }
  return out;
}

}  // namespace brantel
