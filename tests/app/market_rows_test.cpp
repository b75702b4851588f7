// Market list rows: cells, colours and markers of a change, names, sections,
// the ranking's caption row, keys, stars and the background cache save.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/common/market_row_layout.h"
#include "app/market/market_cache_save.h"
#include "app/market/market_row_plan.h"
#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "cache/rank_store.h"
#include "platform/gfx/device_context.h"
#include "protocol/categories.h"
#include "protocol/change_mark.h"
#include "protocol/last_update.h"
#include "protocol/row_key.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

StockRecord Quote(WideView code, WideView group, WideView name, WideView daebi, int32_t gubun = kCategoryIndex) {
  StockRecord r;
  r.gubun = gubun;
  r.code = code;
  r.item = group;
  r.codename = name;
  r.current_price = u"2,580.12";
  r.daebi = daebi;
  r.rate = daebi.empty() || daebi[0] != u'-' ? WideText(u"0.48") : WideText(u"-0.48");
  r.date = u"26/12/07";
  return r;
}

// Waits for a save to end on its own (a cancel would stop it before it began).
void WaitForSave(const MarketCacheSave& save) {
  for (int i = 0; i < 500 && save.Running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_FALSE(save.Running());
}

const MarketCell& Cell(const MarketRow& row, int id) {
  for (const MarketCell& c : row.cells)
    if (c.cell_id == id) return c;
  static MarketCell none;
  ADD_FAILURE() << "no cell " << id;
  return none;
}

TEST(MarketRowsTest, ChangeColoursMarkersNamesAndKeys) {
  const MarketRowStyle style = MarketRowStyleOf(kCategoryIndex);
  const MarketRow fall = BuildMarketRow(Quote(u"KOSPI", u"0", u"A&&B", u"-12.5"), kCategoryIndex, style, false, u"");
  EXPECT_EQ(Cell(fall, 0).text, u"A&B^KOSPI");
  EXPECT_EQ(Cell(fall, 0).colour, kMarketNameColour);
  EXPECT_EQ(Cell(fall, 2).text, u"12.5^0.48^26/12/07");
  EXPECT_EQ(Cell(fall, 2).colour, kChangeColourDown);
  EXPECT_EQ(Cell(fall, 3).text, u"▼^▼^ ");  // blank in the third alternative
  EXPECT_EQ(Cell(fall, 3).column_id, 2);     // follows the header's column 2 with cell 2
  EXPECT_EQ(Cell(fall, 2).column_id, 2);
  EXPECT_EQ(Cell(fall, 4).image_id, kMarketStarOff);
  RowKey key;
  ASSERT_TRUE(ParseRowKey(fall.key, key));
  EXPECT_EQ(key.code, u"KOSPI");
  EXPECT_EQ(key.category, kCategoryIndex);
  EXPECT_EQ(key.group, u"0");
  EXPECT_EQ(key.mypage_flag, u"0");
  EXPECT_EQ(key.name, u"A&&B");
  EXPECT_EQ(key.sign, u"▼");

  const MarketRow flat = BuildMarketRow(Quote(u"X", u"0", u"X", u"0"), kCategoryIndex, style, false, u"");
  EXPECT_EQ(Cell(flat, 2).colour, kChangeColourFlat);
  EXPECT_EQ(Cell(flat, 3).text, u"");
  const MarketRow rise = BuildMarketRow(Quote(u"Y", u"0", u"Y", u"3.25"), kCategoryIndex, style, true, u"");
  EXPECT_EQ(Cell(rise, 2).colour, kChangeColourUp);
  EXPECT_EQ(Cell(rise, 3).text, u"▲^▲^ ");
  EXPECT_EQ(Cell(rise, 4).image_id, kMarketStarOn);

  // Rates have no code alternative; the exchange list shows the unit, no colours, star in cell 3.
  const MarketRow rate =
      BuildMarketRow(Quote(u"CD91", u"0", u"CD", u"-0.01"), kCategoryInterestRate, MarketRowStyle::kChange, false, u"");
  EXPECT_EQ(Cell(rate, 0).text, u"CD");
  EXPECT_EQ(CurrencyUnit(u"FX@JPY"), u"JPY");
  const MarketRow fx = BuildMarketRow(Quote(u"FX@USD", u"0", u"미국 달러", u"-1.5", kCategoryExchange),
                                      kCategoryExchange, MarketRowStyleOf(kCategoryExchange), false, u"KRW");
  EXPECT_EQ(Cell(fx, 2).text, u"KRW");
  EXPECT_EQ(Cell(fx, 2).colour, kMarketWhite);
  EXPECT_EQ(Cell(fx, 3).image_id, kMarketStarOff);
  EXPECT_EQ(fx.cells.size(), 4u);
  EXPECT_EQ(MarketStarCell(kCategoryExchange), 3);
}

TEST(MarketRowsTest, SectionsCaptionRowAndStarsFromTheWatchList) {
  testing::TempDataFolder home;
  const std::vector<StockRecord> indices = {Quote(u"A", u"0", u"a", u"1"), Quote(u"B", u"0", u"b", u"1"),
                                            Quote(u"C", u"1", u"c", u"1"), Quote(u"D", u"", u"d", u"1"),
                                            Quote(u"E", u"3", u"e", u"1")};
  MarketRowPlan plan = PlanMarketRows(indices, {kCategoryIndex, 480, u"", u""});
  std::vector<WideText> captions;
  for (const MarketRow& row : plan.rows)
    if (row.section) captions.push_back(row.cells[0].text);
  EXPECT_EQ(captions, (std::vector<WideText>{u"국내지수", u"Asia", u"Europe/Middle East/Africa"}));
  EXPECT_EQ(plan.rows.size(), 8u);
  EXPECT_EQ(plan.rows[0].height, kMarketSectionHeight);
  EXPECT_EQ(plan.rows[0].cells[0].rect, (Rect{5, 0, 480, 42}));

  // The ranking: one caption row, no group sections; the watch list stars rows.
  std::vector<StockRecord> ranking = {Quote(u"005930", u"0", u"삼성전자", u"100", kCategoryStock),
                                      Quote(u"000660", u"0", u"SK하이닉스", u"-100", kCategoryStock)};
  ASSERT_EQ(AddMyPageItem(ranking[1], u"s", true, true), CACHE_OK);
  MarketRowPlan ranked = PlanMarketRows(ranking, {kCategoryRanking, 480, RankingCaption(1), u""});
  ASSERT_EQ(ranked.rows.size(), 3u);
  EXPECT_EQ(ranked.rows[0].cells[0].text, u"거래대금상위 종목");
  EXPECT_EQ(StarMyPageRows(ranked, ranking, kCategoryRanking), 1);
  EXPECT_EQ(Cell(ranked.rows[1], 4).image_id, kMarketStarOff);
  EXPECT_EQ(Cell(ranked.rows[2], 4).image_id, kMarketStarOn);
  RowKey key;
  ASSERT_TRUE(ParseRowKey(ranked.rows[2].key, key));
  EXPECT_EQ(key.mypage_flag, u"1");
  EXPECT_EQ(key.category, kCategoryStock);  // the quote's own category, as the cache keeps it
}

TEST(MarketRowsTest, CacheSaveRunsOncePerListAndOncePerRankingSubKind) {
  testing::TempDataFolder home;
  const std::vector<StockRecord> first = {Quote(u"005930", u"0", u"삼성전자", u"100", kCategoryStock)};
  const std::vector<StockRecord> second = {Quote(u"000660", u"0", u"SK하이닉스", u"100", kCategoryStock)};
  {
    MarketCacheSave save(kCategoryRanking);
    ASSERT_TRUE(save.Start(first, u"26/12/07 10:00:00", 0));
    WaitForSave(save);
    EXPECT_EQ(save.LoadedCount(0), 1);
    EXPECT_FALSE(save.Start(second, u"26/12/07 10:01:00", 0));  // sub-kind 0 is stored for this run
    ASSERT_TRUE(save.Start(second, u"26/12/07 10:02:00", 2));
    WaitForSave(save);
    EXPECT_EQ(save.LoadedCount(1), 0);
    EXPECT_EQ(save.LoadedCount(2), 1);
  }
  std::vector<StockRecord> rows;
  ASSERT_EQ(LoadStockRank(kCategoryStock, 0, rows), CACHE_OK);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].code, u"005930");
  rows.clear();
  ASSERT_EQ(LoadStockRank(kCategoryStock, 2, rows), CACHE_OK);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].code, u"000660");
  EXPECT_EQ(LastUpdateStamp(u"", kCategoryRanking, 2, true), u"26/12/07 10:02:00");

  // A list other than the ranking stores once, whatever sub-kind it is given.
  MarketCacheSave index_save(kCategoryIndex);
  ASSERT_TRUE(index_save.Start({Quote(u"KOSPI", u"0", u"코스피", u"1")}, u"s", 2));
  WaitForSave(index_save);
  EXPECT_EQ(index_save.LoadedCount(0), 1);
  EXPECT_FALSE(index_save.Start({Quote(u"KOSDAQ", u"0", u"코스닥", u"1")}, u"s"));
  EXPECT_FALSE(index_save.Start({}, u"s"));
}

TEST(MarketRowsTest, HeaderColumnsStandAtTheirBoxesWidthsAndAlignments) {
  const auto widths = [](int32_t category) {
    std::vector<int> out;
    for (const MarketHeaderColumn& c : MarketHeaderColumns(category)) out.push_back(c.width);
    return out;
  };
  for (int32_t category : {kCategoryIndex, kCategoryRanking, kCategoryInterestRate, kCategoryFutures})
    EXPECT_EQ(widths(category), (std::vector<int>{207, 120, 98})) << category;
  EXPECT_EQ(widths(kCategoryExchange), (std::vector<int>{70, 70, 120}));
  EXPECT_EQ(MarketHeaderColumns(kCategoryFutures)[0].format, unsigned(DT_RIGHT));
  EXPECT_EQ(MarketHeaderColumns(kCategoryInterestRate)[0].format, unsigned(DT_LEFT));
}

}  // namespace
}  // namespace brantel
