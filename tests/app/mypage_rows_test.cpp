// The rows of the MyPage list and its editor as plain data.

#include <gtest/gtest.h>

#include "app/mypage/mypage_rows.h"
#include "protocol/row_key.h"

namespace brantel {
namespace {

StockRecord Record(int category, const char16_t* code, const char16_t* name, const char16_t* group = u"0") {
  StockRecord r;
  r.gubun = category;
  r.code = code;
  r.codename = name;
  r.item = group;
  r.current_price = u"1,000";
  r.daebi = u"-12.5";
  r.rate = u"-1.2";
  r.date = u"12/04";
  return r;
}

const MarketCell* Cell(const MarketRow& row, int id) {
  for (const MarketCell& c : row.cells)
    if (c.cell_id == id) return &c;
  return nullptr;
}

TEST(MyPageRows, SectionsAtEachCategoryChangeIncompleteRecordsHiddenArrowWhereTheStarWas) {
  const std::vector<MarketRow> rows =
      PlanMyPageRows({Record(1, u"005930", u"삼성전자"), Record(1, u"", u"no code"), Record(1, u"X", u""),
                      Record(1, u"Y", u"no group", u""), Record(3, u"FX@USD", u"미국 달러"),
                      Record(1, u"000660", u"SK&&하이닉스")});
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_TRUE(rows[0].section && rows[2].section && rows[4].section);
  EXPECT_EQ(Cell(rows[0], 2)->text, u"등락^등락률^시간");
  EXPECT_EQ(Cell(rows[2], 2)->text, u"환산통화");
  // A falling stock: blue change without "-", the marker, the arrow picture.
  EXPECT_EQ(Cell(rows[1], 2)->text, u"12.5^1.2^12/04");
  EXPECT_EQ(Cell(rows[1], 3)->text, u"▼^▼^ ");  // no marker beside the time
  EXPECT_EQ(Cell(rows[1], 4)->image_id, kMyPageArrowImage);
  EXPECT_EQ(Cell(rows[1], 4)->rect, (Rect{430, 15, 470, 55}));
  EXPECT_EQ(Cell(rows[3], 2)->text, u"KRW");
  EXPECT_EQ(Cell(rows[3], 3)->image_id, kMyPageArrowImage);
  EXPECT_EQ(Cell(rows[5], 0)->text, u"SK&하이닉스");
  RowKey key;
  ASSERT_TRUE(ParseRowKey(rows[5].key, key));
  EXPECT_EQ(key.mypage_flag, u"1");
  EXPECT_EQ(key.sign, u"▼");
}

TEST(MyPageRows, EditorSavesOnlyReadableMarkedKeysInRowOrder) {
  const std::vector<MarketRow> rows = PlanEditRows({Record(1, u"A", u"a"), Record(2, u"B", u"b"), Record(2, u"C", u"c")});
  ASSERT_EQ(rows.size(), 5u);
  ASSERT_TRUE(rows[2].section && Cell(rows[1], kEditMarkCell));
  EXPECT_EQ(Cell(rows[1], kEditMarkCell)->image_id, kEditMarkedImage);
  const WideText unmarked = RowKeyWithMyPage(rows[3].key, false);
  EXPECT_EQ(RowKeyWithMyPage(unmarked, true), rows[3].key);
  EXPECT_TRUE(RowKeyWithMyPage(u"not a key", true).empty());
  const std::vector<StockRecord> saved = MarkedEntries({rows[4].key, u"broken^key", unmarked, rows[1].key});
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].code, u"C");
  EXPECT_EQ(saved[0].gubun, 2);
  EXPECT_EQ(saved[1].code, u"A");
  EXPECT_EQ(saved[1].item, u"0");
}

}  // namespace
}  // namespace brantel
