// The watch list: limit, uniqueness, list rewrites, load order, code lookups.
#include <gtest/gtest.h>

#include <filesystem>

#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "cache/sql_text.h"
#include "cache_test_support.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using testing::MakeRecord;
using testing::QueryOne;

class MyPageStoreTest : public ::testing::Test {
 protected:
  void Fill(int count, const std::string& prefix = "M") {
    std::vector<StockRecord> list;
    for (int i = 0; i < count; ++i) list.push_back(MakeRecord(prefix + std::to_string(i), 1));
    ASSERT_EQ(StoreMyPageList(list, u"t0", false), CACHE_OK);
  }
  testing::TempDataFolder home_;
};

TEST_F(MyPageStoreTest, AddMyPageItemKeepsLimitAndUniqueness) {
  StockRecord item = MakeRecord("005930", 1, "Samsung", "100", "0");
  EXPECT_EQ(AddMyPageItem(item, u"s1", true, true), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT code, gubun, sub_gubun, lastupdatetime FROM MyPage"), "005930|1|0|s1");
  EXPECT_EQ(QueryOne("SELECT codename, lastupdatetime FROM StockData"), "Samsung|s1");  // its quote too

  EXPECT_EQ(AddMyPageItem(item, u"s2", true, true), CACHE_NOTHING);  // already there
  // The same code under another category breaks the uniqueness of code.
  EXPECT_EQ(AddMyPageItem(MakeRecord("005930", 2), u"s2", true, true), CACHE_DB_ERROR);
  EXPECT_EQ(CountMyPage(), 1);

  Fill(199);
  EXPECT_EQ(CountMyPage(), 200);
  EXPECT_EQ(AddMyPageItem(MakeRecord("NEW", 2), u"s3", true, true), MYPAGE_LIMIT);
  EXPECT_EQ(CountMyPage(), 200);
  EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData WHERE code='NEW'"), "0");
  // Without the limit flag the entry goes in.
  EXPECT_EQ(AddMyPageItem(MakeRecord("NEW", 2), u"s3", false, false), CACHE_OK);
  EXPECT_EQ(CountMyPage(), 201);
}

TEST_F(MyPageStoreTest, StoreMyPageListChecksTheLimitOnceBeforeInserting) {
  Fill(199);
  std::vector<StockRecord> five;
  for (int i = 0; i < 5; ++i) five.push_back(MakeRecord("F" + std::to_string(i), 2));
  EXPECT_EQ(StoreMyPageList(five, u"t", true), CACHE_OK);
  EXPECT_EQ(CountMyPage(), 204);
  EXPECT_EQ(StoreMyPageList(five, u"t", true), MYPAGE_LIMIT);
  EXPECT_EQ(StoreMyPageList(std::vector<StockRecord>{}, u"t", true), CACHE_NOTHING);

  // A duplicate inside the list rolls the whole list back.
  ASSERT_EQ(ClearMyPage(), CACHE_OK);
  std::vector<StockRecord> dup = {MakeRecord("D1", 1), MakeRecord("D2", 1), MakeRecord("D1", 1)};
  EXPECT_EQ(StoreMyPageList(dup, u"t", true), CACHE_DB_ERROR);
  EXPECT_EQ(CountMyPage(), 0);
}

TEST_F(MyPageStoreTest, ReplaceKeepsTheOldListWhenAnInsertFails) {
  Fill(3, "OLD");
  std::vector<StockRecord> bad = {MakeRecord("N1", 1), MakeRecord("N1", 2)};
  EXPECT_EQ(ReplaceMyPageList(bad, u"t", true), CACHE_DB_ERROR);
  EXPECT_EQ(QueryOne("SELECT group_concat(code) FROM MyPage"), "OLD0,OLD1,OLD2");

  std::vector<StockRecord> good = {MakeRecord("N2", 3), MakeRecord("OLD1", 1)};
  EXPECT_EQ(ReplaceMyPageList(good, u"t2", true), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT group_concat(code || ':' || lastupdatetime) FROM (SELECT * FROM MyPage ORDER BY uid)"),
            "N2:t2,OLD1:t2");

  std::vector<StockRecord> too_many;
  for (int i = 0; i < 201; ++i) too_many.push_back(MakeRecord(std::string("T").append(std::to_string(i)), 1));
  EXPECT_EQ(ReplaceMyPageList(too_many, u"t", true), MYPAGE_LIMIT);
  EXPECT_EQ(CountMyPage(), 2);
  EXPECT_EQ(ReplaceMyPageList(std::vector<StockRecord>{}, u"t", true), CACHE_OK);
  EXPECT_EQ(CountMyPage(), 0);
}

TEST_F(MyPageStoreTest, RemoveStampAndClear) {
  EXPECT_EQ(RemoveMyPageItem("X", 1), CACHE_NOTHING);  // no table yet
  EXPECT_EQ(ClearMyPage(), CACHE_NOTHING);
  Fill(2);
  EXPECT_EQ(RemoveMyPageItem("NOPE", 1), CACHE_OK);
  EXPECT_EQ(RemoveMyPageItem("M0", 2), CACHE_OK);  // wrong category: nothing removed
  EXPECT_EQ(CountMyPage(), 2);
  EXPECT_EQ(RemoveMyPageItem("M0", 1), CACHE_OK);
  EXPECT_EQ(CountMyPage(), 1);
  EXPECT_EQ(StampMyPage("20261207103000"), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT lastupdatetime FROM MyPage"), "20261207103000");
  EXPECT_EQ(StampMyPage(nullptr), CACHE_NOTHING);
  EXPECT_EQ(ClearMyPage(), CACHE_OK);
  EXPECT_EQ(CountMyPage(), 0);
}

TEST_F(MyPageStoreTest, LoadMyPageGroupsByCategoryInListOrderAndSkipsEntriesWithoutQuote) {
  // List order deliberately against code order and uid order of the quotes.
  std::vector<StockRecord> list = {MakeRecord("Z9", 2), MakeRecord("B1", 1), MakeRecord("A5", 2),
                                   MakeRecord("NOQUOTE", 1), MakeRecord("K3", 1), MakeRecord("C7", 3)};
  ASSERT_EQ(StoreMyPageList(list, u"t", true), CACHE_OK);
  std::vector<StockRecord> quotes = {MakeRecord("C7", 3), MakeRecord("K3", 1), MakeRecord("A5", 2),
                                     MakeRecord("B1", 1), MakeRecord("Z9", 2)};
  ASSERT_EQ(StoreQuoteList(kQuoteTable, quotes, u"q1"), CACHE_OK);
  ASSERT_EQ(StoreQuote(kQuoteTable, MakeRecord("Z9", 2), u"q2", true), CACHE_OK);

  std::vector<StockRecord> rows;
  WideText stamp;
  ASSERT_EQ(LoadMyPage(rows, stamp), CACHE_OK);
  std::vector<WideText> codes;
  for (const auto& r : rows) codes.push_back(r.code);
  EXPECT_EQ(codes, (std::vector<WideText>{u"B1", u"K3", u"Z9", u"A5", u"C7"}));
  EXPECT_EQ(stamp, u"q1");  // the last row's stamp
}

TEST_F(MyPageStoreTest, FindMyPageCodesQuotesNetworkCodes) {
  std::vector<WideText> found;
  EXPECT_EQ(FindMyPageCodes(u"", found), CACHE_NOTHING);
  EXPECT_FALSE(std::filesystem::exists(home_.File("qelstockdb")));  // did not open

  std::vector<StockRecord> list = {MakeRecord("A'1", 1), MakeRecord("B2", 1), MakeRecord("C3", 2)};
  ASSERT_EQ(StoreMyPageList(list, u"t", true), CACHE_OK);
  std::vector<WideText> asked = {u"A'1", u"C3", u"D4", u"') OR 1=1 --"};
  EXPECT_EQ(BuildQuotedCodeList(asked), u"'A''1','C3','D4',''') OR 1=1 --'");
  ASSERT_EQ(FindMyPageCodesOf(asked, found), CACHE_OK);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<WideText>{u"A'1", u"C3"}));

  // A list far longer than 10 KB is answered, not cut.
  std::vector<WideText> many(3000, u"NOT-ON-THE-LIST");
  many.push_back(u"B2");
  found.clear();
  ASSERT_EQ(FindMyPageCodesOf(many, found), CACHE_OK);
  EXPECT_EQ(found, std::vector<WideText>{u"B2"});

  // A text that is not a valid IN list is an error, not a crash.
  found.clear();
  EXPECT_EQ(FindMyPageCodes(u"'unterminated", found), CACHE_DB_ERROR);
  EXPECT_TRUE(found.empty());
}

}  // namespace
}  // namespace brantel
