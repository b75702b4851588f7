// Names with "&" (KT&G, S&P 500) are drawn as received in every list: the
// market rows, MyPage's rows, the editor's rows and a name too long for its
// cell, which the list wraps.
#include <gtest/gtest.h>

#include <cstring>

#include "app/common/market_list_row.h"
#include "app/common/market_row_layout.h"
#include "app/mypage/mypage_rows.h"
#include "controls/mobile_list_painter.h"
#include "controls/viewer_fonts.h"
#include "platform/gfx/device_context.h"
#include "platform/gfx/text_layout.h"
#include "protocol/categories.h"

namespace brantel {
namespace {

StockRecord Named(WideView code, WideView name, int32_t gubun) {
  StockRecord r;
  r.gubun = gubun;
  r.code = code;
  r.item = u"1";
  r.codename = name;
  r.current_price = u"5,000";
  r.daebi = u"10";
  r.rate = u"0.2";
  r.date = u"12:00";
  return r;
}

// Every text cell of `row` whose text holds an "&" is laid out with that "&"
// as a character and nothing underlined.
void ExpectAmpersandsKept(const MarketRow& row, const char* where) {
  int checked = 0;
  for (const MarketCell& cell : row.cells) {
    if (cell.image_id > 0 || cell.text.find(u'&') == WideText::npos) continue;
    const WideText first = cell.text.substr(0, cell.text.find(u'^'));
    const TextLayout layout = LayoutText(first, cell.rect, cell.format, *ViewerFont(cell.font_height).instance());
    ASSERT_FALSE(layout.lines.empty()) << where;
    EXPECT_NE(layout.lines[0].text.find(U'&'), std::u32string::npos) << where << " cell " << cell.cell_id;
    EXPECT_EQ(layout.lines[0].underline, -1) << where << " cell " << cell.cell_id;
    ++checked;
  }
  EXPECT_GT(checked, 0) << where;
}

TEST(NamesOnScreen, AmpersandsStayInMarketMyPageAndEditorRows) {
  const StockRecord ktg = Named(u"033780", u"KT&G", kCategoryStock);
  const StockRecord spx = Named(u"SPX", u"S&&P 500", kCategoryIndex);
  const StockRecord fx = Named(u"USD", u"R&D 달러", kCategoryExchange);
  ExpectAmpersandsKept(BuildMarketRow(spx, kCategoryIndex, MarketRowStyle::kChangeWithCode, false, u""), "index");
  ExpectAmpersandsKept(BuildMarketRow(ktg, kCategoryRanking, MarketRowStyle::kChangeWithCode, true, u""), "rank");
  ExpectAmpersandsKept(BuildMarketRow(fx, kCategoryExchange, MarketRowStyle::kExchange, false, u"KRW"), "fx");
  ExpectAmpersandsKept(BuildSectionRow(u"Europe & Africa", 480), "section");
  ExpectAmpersandsKept(MyPageEntryRow(ktg, u"KRW"), "mypage");
  ExpectAmpersandsKept(MyPageEntryRow(fx, u"KRW"), "mypage fx");
  ExpectAmpersandsKept(EditEntryRow(spx, true), "editor");
}

TEST(NamesOnScreen, AWrappedLongNameKeepsItsAmpersand) {
  const StockRecord longer = Named(u"SPX", u"S&P 500 Equal Weight Total Return", kCategoryIndex);
  MobileListRows rows;
  rows.Add(-1, ToMobileListRow(MyPageEntryRow(longer, u"KRW"), 480));
  MobileListCell* name = rows.row(0)->FindCell(0);
  ASSERT_NE(name, nullptr);

  Surface painted(480, 70), expected(480, 70);
  DeviceContext dc(painted);
  MobileListLook look;
  look.scroll_bar = false;
  MobileListPainter().Paint(dc, rows, MobileListMetrics{}, look, MobileListFrame{480, 70, 0, 70});
  name = rows.row(0)->FindCell(0);
  ASSERT_GT(name->text_width, name->rect.Width());  // the wrapped path

  // Only the name cell is drawn in the expectation: blank the other cells.
  DeviceContext want(expected);
  want.SetBkMode(TRANSPARENT);
  want.SelectFont(name->font);
  want.SetTextColor(name->text_color);
  want.DrawText(name->text(), name->rect,
                DT_WORDBREAK | DT_EDITCONTROL | DT_WORD_ELLIPSIS | DT_NOPREFIX | (name->format & DT_RIGHT));
  const Rect r = name->rect;
  int differing = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) differing += painted.row(y)[x] != expected.row(y)[x];
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace brantel
