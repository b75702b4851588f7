// The quote table: single and list writes, loads, hostile codes.
#include <gtest/gtest.h>

#include "cache/cache_results.h"
#include "cache/quote_store.h"
#include "cache_test_support.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using testing::MakeRecord;
using testing::QueryOne;

StockDetailRecord MakeDetail(const std::string& code, int gubun) {
  StockDetailRecord d;
  d.gubun = gubun;
  d.code = Widen(code);
  d.item = u"1";
  d.period = u"3";
  d.codename = u"삼성전자";
  d.current_price = u"71,000";
  d.daebi = u"-500";
  d.rate = u"-0.70";
  d.high = u"72,000";
  d.low = u"70,500";
  d.trade_amount = u"12,345,678";
  d.yesterday_price = u"71,500";
  d.open_price = u"71,200";
  d.high52 = u"88,800";
  d.low52 = u"55,000";
  d.high52_date = u"2026.03.02";
  d.low52_date = u"2025.12.01";
  d.date = u"2026.12.07";
  d.time = u"10:30";
  return d;
}

class QuoteStoreTest : public ::testing::Test {
 protected:
  testing::TempDataFolder home_;
};

TEST_F(QuoteStoreTest, StoreQuoteInsertsThenUpdatesOnlyWhenAllowed) {
  StockRecord first = MakeRecord("005930", 1, "Samsung", "100", "0");
  EXPECT_EQ(StoreQuote(kQuoteTable, first, u"stamp1", false), CACHE_OK);

  StockRecord second = MakeRecord("005930", 1, "Samsung Elec", "200", "01");
  EXPECT_EQ(StoreQuote(kQuoteTable, second, u"stamp2", false), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT codename, current_price, lastupdatetime FROM StockData"), "Samsung|100|stamp1");

  EXPECT_EQ(StoreQuote(kQuoteTable, second, u"stamp2", true), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT codename, sub_gubun, current_price, daebi, rate, date, time, lastupdatetime FROM "
                     "StockData"),
            "Samsung Elec|01|200|-5|-0.5|20261207|1030|stamp2");
  EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData"), "1");
  EXPECT_EQ(StoreQuote(nullptr, first, u"x", true), CACHE_NOTHING);
}

TEST_F(QuoteStoreTest, FullRecordRoundTripsEveryFieldByName) {
  StockDetailRecord d = MakeDetail("005930", 1);
  ASSERT_EQ(StoreQuote(kQuoteTable, d, u"2026-12-07 10:30", true), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT high52, high52datetime, low52, low52datetime FROM StockData"),
            "88,800|2026.03.02|55,000|2025.12.01");

  std::vector<StockDetailRecord> loaded;
  WideText stamp;
  ASSERT_EQ(LoadQuote(kQuoteTable, "005930", 1, loaded, stamp), CACHE_OK);
  ASSERT_EQ(loaded.size(), 1u);
  StockDetailRecord expected = d;
  expected.period.clear();  // not kept by the cache
  EXPECT_EQ(loaded[0], expected);
  EXPECT_EQ(stamp, u"2026-12-07 10:30");

  // An update in full form replaces the detail columns too.
  d.high52 = u"90,000";
  d.low52_date = u"2026.01.01";
  ASSERT_EQ(StoreQuote(kQuoteTable, d, u"later", true), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT high52, low52datetime, lastupdatetime FROM StockData"), "90,000|2026.01.01|later");

  // The short form of a detail record leaves the detail columns alone.
  d.high52 = u"1";
  d.current_price = u"2";
  ASSERT_EQ(StoreQuote(kQuoteTable, d, u"short", true, false), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT high52, current_price FROM StockData"), "90,000|2");

  loaded.clear();
  EXPECT_EQ(LoadQuote(kQuoteTable, "005930", 2, loaded, stamp), CACHE_OK);  // other category: nothing
  EXPECT_TRUE(loaded.empty());
  EXPECT_EQ(LoadQuote(kQuoteTable, nullptr, 1, loaded, stamp), CACHE_NOTHING);
}

TEST_F(QuoteStoreTest, StoreQuoteListUpdatesAndInsertsInOneCommit) {
  std::vector<StockRecord> first = {MakeRecord("A", 2, "a", "1"), MakeRecord("B", 2, "b", "1"),
                                    MakeRecord("X", 3, "x", "1")};
  ASSERT_EQ(StoreQuoteList(kQuoteTable, first, u"t1"), CACHE_OK);

  // B exists, C is new, X is stored under category 3 and arrives as 2.
  std::vector<StockRecord> second = {MakeRecord("B", 2, "b2", "2"), MakeRecord("C", 2, "c", "2"),
                                     MakeRecord("X", 2, "x2", "2")};
  ASSERT_EQ(StoreQuoteList(kQuoteTable, second, u"t2"), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT group_concat(code || ':' || gubun || ':' || current_price || ':' || lastupdatetime, "
                     "' ') FROM (SELECT * FROM StockData ORDER BY code)"),
            "A:2:1:t1 B:2:2:t2 C:2:2:t2 X:3:1:t1");

  std::vector<StockRecord> rows;
  ASSERT_EQ(LoadQuotesOfCategory(kQuoteTable, 2, rows), CACHE_OK);
  ASSERT_EQ(rows.size(), 3u);
  std::vector<WideText> codes;
  for (const auto& r : rows) codes.push_back(r.code);
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<WideText>{u"A", u"B", u"C"}));
  EXPECT_EQ(StoreQuoteList(kQuoteTable, std::vector<StockRecord>{}, u"t"), CACHE_NOTHING);
}

TEST_F(QuoteStoreTest, HostileCodesAreStoredAsTextAndChangeNoStatement) {
  std::vector<StockRecord> first = {MakeRecord("A'B", 2), MakeRecord("Z", 2, "z", "1")};
  ASSERT_EQ(StoreQuoteList(kQuoteTable, first, u"t1"), CACHE_OK);
  // A code built to close the literal and widen the IN list must not make Z
  // look stored (that would turn its insert into a no-op update) nor fail.
  std::vector<StockRecord> second = {MakeRecord("A'B", 2, "n", "2"), MakeRecord("') OR 1=1 OR code IN ('", 2),
                                     MakeRecord("'; DROP TABLE StockData; --", 2)};
  ASSERT_EQ(StoreQuoteList(kQuoteTable, second, u"t2"), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT current_price FROM StockData WHERE code='A''B'"), "2");
  EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData"), "4");
  EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData WHERE code='''; DROP TABLE StockData; --'"), "1");
}

TEST_F(QuoteStoreTest, KoreanTextReadsBackUnchanged) {
  StockRecord r = MakeRecord("005930", 1, "삼성전자 우선주", "71,000");
  r.daebi = u"▲500";
  ASSERT_EQ(StoreQuote(kQuoteTable, r, u"2026년 12월", false), CACHE_OK);
  std::vector<StockRecord> rows;
  ASSERT_EQ(LoadQuotesOfCategory(kQuoteTable, 1, rows), CACHE_OK);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], r);
}

TEST_F(QuoteStoreTest, LongListsAreNotCutAtTheBufferSize) {
  // 3,000 codes make an IN list far beyond 10 KB; existing rows must still
  // be found and updated rather than lost on their insert.
  std::vector<StockRecord> list;
  for (int i = 0; i < 3000; ++i) list.push_back(MakeRecord("CODE" + std::to_string(100000 + i), 1, "n", "1"));
  ASSERT_EQ(StoreQuoteList(kQuoteTable, list, u"t1"), CACHE_OK);
  for (auto& r : list) r.current_price = u"2";
  ASSERT_EQ(StoreQuoteList(kQuoteTable, list, u"t2"), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT count(*), min(current_price), max(lastupdatetime) FROM StockData"), "3000|2|t2");
}

}  // namespace
}  // namespace brantel
