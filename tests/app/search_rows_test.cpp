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
  EXPECT_EQ(Codes(lower), Codes(FindSearchRows(master_, u"sK")));

  // A Korean name prefix; longer than every code and name: nothing.
  const std::vector<SearchRow> samsung = FindSearchRows(master_, u"삼성");
  ASSERT_EQ(samsung.size(), 10u);
  EXPECT_EQ(samsung[0].code, u"005930");
  EXPECT_EQ(samsung[0].name, u"삼성전자");
  EXPECT_TRUE(FindSearchRows(master_, u"삼성전자우선주보통주합병신주인수권증서").empty());
  EXPECT_TRUE(FindSearchRows(master_, u"0059301").empty());
  EXPECT_TRUE(FindSearchRows(master_, u"").empty());

  CParseMaster empty;
  EXPECT_TRUE(FindSearchRows(empty, u"0").empty());
  EXPECT_TRUE(FindSearchRows(empty, u"삼").empty());
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
  EXPECT_EQ(key.group, u"1");
  EXPECT_EQ(key.mypage_flag, u"0");
  EXPECT_EQ(SearchListRow(rows[0]).cells[2].image_id, kSearchStarOff);
}

TEST(SearchHintTest, HintLeavesOnFirstInputAndComesBackWhenEmpty) {
  const WideText hint = u"종목명 또는 코드 입력";
  SearchHintState state(hint);
  state.HintShown();
  // The hint text itself never searches; the button does nothing over it.
  EXPECT_TRUE(state.OnTextChanged(hint, true, false).select_all);
  EXPECT_FALSE(state.OnTextChanged(hint, false, false).search);
  EXPECT_FALSE(state.OnSearchRequest(hint).search);
  EXPECT_FALSE(state.OnSearchRequest(hint).select_all);

  // A key typed before the hint: the text keeps the key, without the hint.
  SearchEditActions a = state.OnNotify(u'a', false, u"a" + hint);
  EXPECT_FALSE(state.showing());
  EXPECT_TRUE(a.normal_colors);
  EXPECT_TRUE(a.set_text);
  EXPECT_EQ(a.text, u"a");
  EXPECT_TRUE(a.caret_to_end);
  // Typed after it, or over the selected hint: nothing typed is lost.
  state.HintShown();
  EXPECT_EQ(state.OnNotify(u'b', false, hint + u"b").text, u"b");
  state.HintShown();
  a = state.OnNotify(u'c', false, u"c");
  EXPECT_FALSE(a.set_text);
  // A composition or a tap over the hint leaves an empty edit to type in.
  state.HintShown();
  a = state.OnNotify(0, false, hint);
  EXPECT_TRUE(a.set_text);
  EXPECT_TRUE(a.text.empty());
  EXPECT_FALSE(a.show_hint);
  EXPECT_TRUE(state.OnTextChanged(u"", true, true).clear_list);
  EXPECT_FALSE(state.OnTextChanged(u"", true, true).show_hint);

  // Typing searches; further keys never select what was typed; a tap does.
  a = state.OnTextChanged(u"삼성", false, false);
  EXPECT_TRUE(a.search);
  EXPECT_EQ(a.text, u"삼성");
  EXPECT_FALSE(state.OnNotify(u'x', false, u"삼성x").select_all);
  EXPECT_FALSE(state.OnNotify(0, false, u"삼성").select_all);
  EXPECT_TRUE(state.OnNotify(0, true, u"삼성").select_all);
  EXPECT_TRUE(state.OnNotify(8, false, u"삼").search);
  EXPECT_EQ(state.OnComposing(u"삼서").text, u"삼서");

  // The user empties the edit: the hint comes back and the list empties; the
  // backspace notice that follows keeps it.
  a = state.OnTextChanged(u"", false, false);
  EXPECT_TRUE(a.show_hint);
  EXPECT_TRUE(a.clear_list);
  state.HintShown();
  a = state.OnNotify(8, false, hint);
  EXPECT_TRUE(state.showing());
  EXPECT_FALSE(a.set_text);
  EXPECT_FALSE(state.OnComposing(u"x").search);
}

}  // namespace
}  // namespace brantel
