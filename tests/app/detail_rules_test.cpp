// The detail's rules that need no window: the name width rule with the real
// font, text cuts, content height and thumb, periods, the period menu's
// slide, and the chart files' lifetime.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "app/detail/chart_files.h"
#include "app/detail/detail_frame_painting.h"
#include "app/detail/detail_rules.h"
#include "app/detail/graph_menu_state.h"
#include "controls/viewer_fonts.h"
#include "platform/folders.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

TEST(DetailRules, NameWidthRule) {
  const WideText short_name = u"삼성전자";
  const WideText middle = u"삼성전자우선주 한국거래소상장사";  // between 381 and 430 at 32
  const WideText long_name = u"삼성전자 보통주 한국거래소 유가증권시장 상장";
  const Font& font = ViewerFont(32);
  ASSERT_LT(font.MeasureText(short_name).cx, 381);
  const int middle_width = font.MeasureText(middle).cx;
  ASSERT_GE(middle_width, 381) << middle_width;
  ASSERT_LE(middle_width, 430) << middle_width;
  ASSERT_GT(font.MeasureText(long_name).cx, 430);

  EXPECT_EQ(MeasureNamePlacement(short_name, 480).font_height, 32);
  EXPECT_EQ(MeasureNamePlacement(short_name, 480).rect, (Rect{0, 0, 480, 75}));
  EXPECT_EQ(MeasureNamePlacement(middle, 480).rect, (Rect{0, 0, 430, 75}));
  EXPECT_EQ(MeasureNamePlacement(long_name, 480).font_height, 24);
  const bool clear_at_24 = ViewerFont(24).MeasureText(long_name).cx < 381;
  EXPECT_EQ(MeasureNamePlacement(long_name, 480).rect, (clear_at_24 ? Rect{0, 0, 480, 75} : Rect{0, 0, 430, 75}));
  EXPECT_EQ(NameAsShown(u"S&&P 500 && more"), u"S&P 500 & more");
}

TEST(DetailRules, ALongNameStaysInTheTitleBandLeftOfTheStar) {
  DetailViewState state;
  Surface bare(480, 748), named(480, 748);
  DeviceContext bare_dc(bare), named_dc(named);
  PaintPortraitFrame(bare_dc, Size{480, 748}, state, nullptr);
  for (const WideText& name : {WideText(u"미래에셋 타이거 미국필라델피아반도체나스닥 상장지수투자신탁(주식)"),
                              WideText(u"KODEX 미국S&&P500 선물(H) 레버리지 인버스")}) {
    state.record.codename = name;
    PaintPortraitFrame(named_dc, Size{480, 748}, state, nullptr);
    int left = 480, right = -1, outside_band = 0;
    for (int y = 0; y < 748; ++y)
      for (int x = 0; x < 480; ++x) {
        if (named.row(y)[x] == bare.row(y)[x]) continue;
        if (y >= 75) ++outside_band;
        left = std::min(left, x);
        right = std::max(right, x);
      }
    EXPECT_EQ(outside_band, 0);
    EXPECT_GE(left, 1) << "not off the left edge";
    EXPECT_LT(right, kStarRect.left) << "not under the star";
    EXPECT_GT(right, 300) << "the band is used";
  }
}

TEST(DetailRules, TextCutsHeightsAndPeriods) {
  EXPECT_EQ(DailyDateCell(u"26/12/07"), u"12/07");
  EXPECT_EQ(DailyDateCell(u"26/"), u"");
  EXPECT_EQ(DailyDateCell(u"26/1"), u"1");
  EXPECT_EQ(UpdateTextOfServerDate(u"26/12/07 10:56:06"), u"12/07 10:56");
  EXPECT_EQ(UpdateTextOfListStamp(u"26/12/07 10:56:06"), u"12/07 10:56");
  EXPECT_EQ(UpdateTextOfListStamp(u"12/07 10:56"), u"12/07 10:56");
  EXPECT_EQ(WithoutMinus(u"-1,500"), u"1,500");

  EXPECT_EQ(DetailContentHeight(0, 581), 581);
  EXPECT_EQ(DetailContentHeight(0, 300), 394);
  EXPECT_EQ(DetailContentHeight(20, 581), 436 + 61 * 20);
  EXPECT_EQ(DetailThumbLength(581, 581), 0);
  EXPECT_EQ(DetailThumbLength(581, 1656), 581 * 581 / 1656);
  EXPECT_EQ(DetailThumbLength(581, 100000), 30);
  EXPECT_EQ(DetailThumbLength(581, 590), 551);

  EXPECT_EQ(PeriodOfItem(1230), 0);
  EXPECT_EQ(PeriodOfItem(1231), -1);
  EXPECT_EQ(PeriodOfItem(1233), 3);
  EXPECT_EQ(PeriodOfItem(0), -1);
  std::vector<int> ids;
  for (const GraphMenuItem& item : PeriodMenuItems()) ids.push_back(item.id);
  EXPECT_EQ(ids, (std::vector<int>{1230, 1232, 1233, 1234}));
}

TEST(DetailRules, PeriodMenuSlidesOpenAndShut) {
  GraphMenuState menu(PeriodMenuItems(), 702, 80);
  EXPECT_TRUE(menu.shown().IsEmpty());
  int ticks = 0;
  while (menu.opening() && ticks < 100) EXPECT_FALSE(menu.Tick()), ++ticks;
  EXPECT_EQ(menu.shown(), menu.frame());  // stops at its rectangle
  EXPECT_LT(ticks, 12);
  EXPECT_EQ(menu.frame().right, 702);

  // A release on another item than the pressed one chooses nothing.
  menu.Press(Point{550, menu.ItemRect(1).top + 5});
  EXPECT_EQ(menu.pressed(), 1);
  EXPECT_EQ(menu.Release(Point{550, menu.ItemRect(2).top + 5}), 0);
  menu.Press(Point{550, menu.ItemRect(2).top + 5});
  EXPECT_EQ(menu.Release(Point{550, menu.ItemRect(2).top + 5}), 1233);

  // A tap outside slides it shut; the end comes within 33 pixels of closed.
  menu.Press(Point{100, 100});
  EXPECT_TRUE(menu.closing());
  bool ended = false;
  for (ticks = 0; !ended && ticks < 100; ++ticks) ended = menu.Tick();
  EXPECT_TRUE(ended);
  EXPECT_LE(menu.shown().Width(), 33);
}

TEST(DetailRules, ChartFilesGoWithNewOnesAndWithTheDetail) {
  testing::TempFolder folder;
  auto make = [&](const std::string& name) {
    WriteFileAtomically(folder / name, "x");
    return Widen(folder / name);
  };
  auto exists = [](const std::string& p) { return access(p.c_str(), F_OK) == 0; };
  {
    ChartFiles files;
    files.Take({make("small1.png"), make("middle.png"), make("large1.png")});
    EXPECT_EQ(files.small_chart(), folder / "small1.png");
    EXPECT_EQ(files.large_chart(), folder / "large1.png");
    EXPECT_FALSE(exists(folder / "middle.png"));
    files.Take({make("small2.png")});
    EXPECT_FALSE(exists(folder / "small1.png"));
    EXPECT_FALSE(exists(folder / "large1.png"));
    EXPECT_TRUE(files.large_chart().empty());
    EXPECT_TRUE(exists(folder / "small2.png"));
  }
  EXPECT_FALSE(exists(folder / "small2.png"));
}

}  // namespace
}  // namespace brantel
