// Rankings: replacement by kind and load in ranking order.
#include <gtest/gtest.h>

#include "cache/cache_results.h"
#include "cache/quote_store.h"
#include "cache/rank_store.h"
#include "cache_test_support.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using testing::MakeRecord;
using testing::QueryOne;

std::vector<WideText> Codes(const std::vector<StockRecord>& rows) {
  std::vector<WideText> codes;
  for (const auto& r : rows) codes.push_back(r.code);
  return codes;
}

TEST(RankStoreTest, RankingReplacesItsKindAndLoadsInRankingOrder) {
  testing::TempDataFolder home;
  EXPECT_EQ(ClearStockRank(0), CACHE_NOTHING);  // no table yet

  // Ranking order deliberately unlike code order.
  std::vector<StockRecord> volume = {MakeRecord("M2", 1), MakeRecord("A9", 1), MakeRecord("Z1", 1),
                                     MakeRecord("NOQUOTE", 1), MakeRecord("C4", 1)};
  std::vector<StockRecord> value = {MakeRecord("Z1", 1), MakeRecord("M2", 1)};
  ASSERT_EQ(StoreStockRank(volume, 0, u"t"), CACHE_OK);
  ASSERT_EQ(StoreStockRank(value, 1, u"t"), CACHE_OK);
  std::vector<StockRecord> quotes = {MakeRecord("C4", 1), MakeRecord("Z1", 1), MakeRecord("A9", 1),
                                     MakeRecord("M2", 1)};
  ASSERT_EQ(StoreQuoteList(kQuoteTable, quotes, u"q"), CACHE_OK);

  std::vector<StockRecord> rows;
  ASSERT_EQ(LoadStockRank(1, 0, rows), CACHE_OK);
  EXPECT_EQ(Codes(rows), (std::vector<WideText>{u"M2", u"A9", u"Z1", u"C4"}));
  rows.clear();
  ASSERT_EQ(LoadStockRank(1, 1, rows), CACHE_OK);
  EXPECT_EQ(Codes(rows), (std::vector<WideText>{u"Z1", u"M2"}));
  rows.clear();
  ASSERT_EQ(LoadStockRank(2, 1, rows), CACHE_OK);  // quotes of another category
  EXPECT_TRUE(rows.empty());

  // A new answer for kind 0 replaces only kind 0.
  ASSERT_EQ(ClearStockRank(0), CACHE_OK);
  std::vector<StockRecord> fresh = {MakeRecord("C4", 1), MakeRecord("M2", 1)};
  ASSERT_EQ(StoreStockRank(fresh, 0, u"t2"), CACHE_OK);
  rows.clear();
  LoadStockRank(1, 0, rows);
  EXPECT_EQ(Codes(rows), (std::vector<WideText>{u"C4", u"M2"}));
  EXPECT_EQ(QueryOne("SELECT count(*) FROM StockRank WHERE gubun=1"), "2");
  EXPECT_EQ(StoreStockRank(fresh, -1, u"t"), CACHE_NOTHING);
  EXPECT_EQ(StoreStockRank(std::vector<StockRecord>{}, 0, u"t"), CACHE_NOTHING);
}

}  // namespace
}  // namespace brantel
