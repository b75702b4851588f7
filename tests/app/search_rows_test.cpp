// The search apart from the window: what a text finds in the reference
// master list, the row it makes, and the hint rules of the edit.

#include <gtest/gtest.h>

#include <sstream>

#include "app/search/search_hint.h"
#include "app/search/search_list_row.h"
#include "app/search/search_results.h"
#include "protocol/row_key.h"
#include "tests/app/search_test_support.h"

namespace brantel {
namespace {

std::vector<WideText> Codes(const std::vector<SearchRow>& rows) {
  std::vector<WideText> out;
  for (const SearchRow& r : rows) out.push_back(r.code);
  return out;
}

class SearchRowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { master_.ParseText(testing::ReferenceMasterText()); }
  static inline CParseMaster master_;
};

TEST_F(SearchRowsTest, FirstThirtyInMasterOrderCaseIgnoredLongTextsFindNothing) {
  ASSERT_GT(master_.GetEntryCount(), 1000);
  // Every entry whose code begins with "00", in master order.
  std::vector<WideText> expected;
  std::istringstream lines(testing::ReferenceMasterText());
  std::string line;
  while (std::getline(lines, line))
    if (line.rfind("00", 0) == 0) expected.push_back(Widen(line.substr(0, line.find('|'))));
  ASSERT_GT(expected.size(), 31u);

  const std::vector<SearchRow> rows = FindSearchRows(master_, u"00");
  ASSERT_EQ(rows.size(), 30u);
  EXPECT_EQ(Codes(rows), std::vector<WideText>(expected.begin(), expected.begin() + 30));
  for (const SearchRow& r : rows) EXPECT_NE(r.code, expected[30]);

  // Latin letters: lower and upper case give the same rows.
  const std::vector<SearchRow> lower = FindSearchRows(master_, u"sk");
  ASSERT_FALSE(lower.empty());
  EXPECT_EQ(Codes(lower), Codes(FindSearchRows(master_, u"SK")));

  // A Korean name prefix; longer than every code and name: nothing.
  const std::vector<SearchRow> samsung = FindSearchRows(master_, u"삼성");
  ASSERT_EQ(samsung.size(), 10u);
  EXPECT_EQ(samsung[0].code, u"005930");
  EXPECT_EQ(samsung[0].name, u"삼성전자");
  EXPECT_TRUE(FindSearchRows(master_, u"삼성전자우선주보통주합병신주인수권증서").empty());
  EXPECT_TRUE(FindSearchRows(master_, u"0059301").empty());
  EXPECT_TRUE(FindSearchRows(master_, u"").empty());
}

TEST_F(SearchRowsTest, RowsCarryKeyMarketNameAndStar) {
  CParseMaster master;
  master.ParseText("111111|A&&B|KOSDAQ|\n222222|Other|KONEX|\n333333|NoMarket\n");
  std::vector<SearchRow> rows = FindSearchRows(master, u"a");
  ASSERT_EQ(rows.size(), 1u);
  rows[0].in_mypage = true;
  MobileListRow row = SearchListRow(rows[0]);
  RowKey key;
  ASSERT_TRUE(ParseRowKey(row.key, key));
  EXPECT_EQ(key.code, u"111111");
  EXPECT_EQ(key.category, 1);
  EXPECT_EQ(key.group, u"0");  // KOSDAQ
  EXPECT_EQ(key.mypage_flag, u"1");
  EXPECT_EQ(key.name, u"A&&B");
  ASSERT_EQ(row.cells.size(), 3u);
  EXPECT_EQ(row.cells[1].text(), u"A&B");
  EXPECT_EQ(row.cells[2].image_id, kSearchStarOn);

  rows = FindSearchRows(master, u"2");
  ASSERT_EQ(rows.size(), 1u);
  ASSERT_TRUE(ParseRowKey(SearchListRow(rows[0]).key, key));
  EXPECT_EQ(key.group, u"1");  // another market
}

TEST(SearchHintTest, TypedTextSurvivesTheHintAndOnlyATapSelectsAll) {
  const WideText hint = u"종목명 또는 코드 입력";
  SearchHintState state(hint);
  // A key typed before or after the hint: the text keeps it, caret at its end.
  state.HintShown();
  SearchEditActions a = state.OnNotify(u'a', false, u"a" + hint);
  EXPECT_TRUE(a.set_text && a.normal_colors && a.caret_to_end);
  EXPECT_EQ(a.text, u"a");
  state.HintShown();
  EXPECT_EQ(state.OnNotify(u'b', false, hint + u"b").text, u"b");
  // The backspace notice that follows the hint's return keeps it.
  state.HintShown();
  EXPECT_FALSE(state.OnNotify(8, false, hint).set_text);
  EXPECT_TRUE(state.showing());
  // Keys and compositions after the hint never select what was typed.
  state.OnNotify(0, false, hint);
  EXPECT_FALSE(state.OnNotify(u'x', false, u"삼성x").select_all);
  EXPECT_FALSE(state.OnNotify(0, false, u"삼성").select_all);
  EXPECT_TRUE(state.OnNotify(0, true, u"삼성").select_all);
  // Emptied by the screen itself or mid-composition: no hint yet.
  EXPECT_FALSE(state.OnTextChanged(u"", true, false).show_hint);
  EXPECT_FALSE(state.OnTextChanged(u"", false, true).show_hint);
  EXPECT_TRUE(state.OnTextChanged(u"", false, false).show_hint);
}

}  // namespace
}  // namespace brantel
