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
using testing::QueryRows;

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

// A replacement is one transaction: it replaces the kind's rows whole, and one
// that fails half-way keeps the old rows.
TEST(RankStoreTest, ReplaceIsAllOrNothing) {
  testing::TempDataFolder home;
  ASSERT_EQ(ReplaceStockRank(std::vector<StockRecord>{MakeRecord("A9", 1), MakeRecord("Z1", 1)}, 0, u"t1"), CACHE_OK);
  ASSERT_EQ(ReplaceStockRank(std::vector<StockRecord>{MakeRecord("M2", 1)}, 1, u"t1"), CACHE_OK);
  ASSERT_EQ(ReplaceStockRank(std::vector<StockRecord>{MakeRecord("C4", 1), MakeRecord("A9", 1)}, 0, u"t2"), CACHE_OK);
  EXPECT_EQ(QueryRows("SELECT code, lastupdatetime FROM StockRank WHERE gubun=0 ORDER BY uid"),
            (std::vector<std::string>{"C4|t2", "A9|t2"}));
  EXPECT_EQ(QueryOne("SELECT code FROM StockRank WHERE gubun=1"), "M2");

  // The second insert is refused after the delete and the first insert ran.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(BuildDatabasePath().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TRIGGER refuse BEFORE INSERT ON StockRank WHEN NEW.code='BAD' "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(ReplaceStockRank(std::vector<StockRecord>{MakeRecord("Z1", 1), MakeRecord("BAD", 1)}, 0, u"t3"),
            CACHE_DB_ERROR);
  EXPECT_EQ(QueryRows("SELECT code, lastupdatetime FROM StockRank WHERE gubun=0 ORDER BY uid"),
            (std::vector<std::string>{"C4|t2", "A9|t2"}));
  EXPECT_EQ(ReplaceStockRank(std::vector<StockRecord>{}, 0, u"t"), CACHE_NOTHING);
}

}  // namespace
}  // namespace brantel
