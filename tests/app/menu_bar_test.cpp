// CMenuBarWnd by script: the ranking tick, the currency pop-up rebuilt from
// the exchange rows with the standard currency ticked, commands posted to
// the holder.

#include "app/dialogs/menu_bar_wnd.h"
#include "protocol/row_key.h"
#include "protocol/standard_currency.h"
#include "tests/app/dialog_test_support.h"

namespace brantel {
namespace {

class MenuBarTest : public testing::DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_TRUE(bar_.Create(Rect{0, 748 - 52, 480, 748}, &screen_));
  }
  void TearDown() override {
    bar_.Destroy();
    DialogTest::TearDown();
  }
  std::vector<WPARAM> Commands() {
    Settle();
    return screen_.TakeParams(WM_COMMAND);
  }
  SoftMenu& OpenPopup() { return *bar_.bar()->menu().SubMenu(size_t(bar_.bar()->open_key())); }

  CMenuBarWnd bar_;
};

TEST_F(MenuBarTest, CurrencyPopupIsRebuiltWithTheStandardCurrencyTicked) {
  WideText code = u"FX@JPY", item = u"JPY";
  StandardCurrency(code, item, false);
  std::vector<WideText> rows = {
      BuildRowKey(u"FX@USD", 3, u"FX", u"0", u"미국 달러", u"2"),
      u"unreadable",
      BuildRowKey(u"FX@JPY", 3, u"FX", u"0", u"일본 엔", u"5"),
      BuildRowKey(u"FX@EUR", 3, u"FX", u"0", u"유로", u"3"),
  };
  bar_.currencies().Rebuild(rows);
  EXPECT_EQ(bar_.currencies().entries().size(), 3u);
  EXPECT_EQ(bar_.currencies().CodeFor(50002), u"FX@JPY");
  EXPECT_EQ(bar_.currencies().CodeFor(50001), u"");
  ASSERT_TRUE(bar_.ShowMenu(kExchangeMenu, false));
  EXPECT_EQ(bar_.bar()->menu().SubMenu(0)->ItemCount(), 0u);  // filled only when it opens

  InputScript open;
  open.Key(VK_F1);
  Play(open);
  ASSERT_TRUE(bar_.bar()->IsPopupOpen());
  SoftMenu& popup = OpenPopup();
  ASSERT_EQ(popup.ItemCount(), 3u);
  EXPECT_EQ(popup.ItemAt(1)->caption, u"일본 엔");
  EXPECT_EQ(popup.ItemId(1), 50002u);
  EXPECT_TRUE(popup.IsChecked(50002));
  EXPECT_FALSE(popup.IsChecked(50000));
  Shot("menu-bar-currency");
  InputScript choose;
  choose.Key(VK_DOWN).Key(VK_DOWN).Key(VK_DOWN).Key(VK_RETURN);
  Play(choose);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{50003});

  // The right key's pop-up is the resource's own, opened by the finger.
  InputScript right;
  right.Tap(400, 52 + 720);
  Play(right);
  ASSERT_TRUE(bar_.bar()->IsPopupOpen());
  EXPECT_EQ(OpenPopup().ItemId(0), 40005u);
  Shot("menu-bar-menu");
  InputScript outside;
  outside.Tap(100, 200);
  Play(outside);
  EXPECT_FALSE(bar_.bar()->IsPopupOpen());
  EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuBarTest, RankingMenuTicksTheRememberedChoice) {
  ASSERT_TRUE(bar_.ShowMenu(kRankingMenu, false));
  bar_.SetRankingChoice(40031);
  InputScript open;
  open.Key(VK_F1);
  Play(open);
  ASSERT_TRUE(bar_.bar()->IsPopupOpen());
  EXPECT_TRUE(OpenPopup().IsChecked(40031));
  EXPECT_FALSE(OpenPopup().IsChecked(40030));
  Shot("menu-bar-ranking");
  InputScript choose;
  choose.Key(VK_UP).Call([] { Shot("menu-bar-ranking-highlight"); }).Key(VK_RETURN);  // Up from none: the bottom item
  Play(choose);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{40032});
  EXPECT_EQ(bar_.ranking_choice(), 40032u);
  InputScript again;
  again.Key(VK_F1);
  Play(again);
  EXPECT_TRUE(OpenPopup().IsChecked(40032));
  EXPECT_FALSE(OpenPopup().IsChecked(40031));
  // The left soft key of another menu sends its command at once.
  ASSERT_TRUE(bar_.ShowMenu(40014, false));
  InputScript edit;
  edit.Key(VK_F1);
  Play(edit);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{40001});
}

}  // namespace
}  // namespace brantel
