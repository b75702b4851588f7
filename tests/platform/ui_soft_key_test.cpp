// The soft-key menu bar by script: soft keys by finger and by F1/F2, pop-ups
// with Up/Down/Enter, a tap outside, ticks, WM_INITMENUPOPUP before a
// pop-up opens, and the menu's run-time changes.

#include <gtest/gtest.h>

#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/script_player.h"
#include "platform/ui/soft_key_bar.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;
using testing::RecordingWindow;

ResourceMenu TwoKeys() {
  ResourceMenuItem refresh{u"새로고침", 100, false, false, {}};
  ResourceMenuItem menu{u"메뉴", 0, false, true, {}};
  menu.items.push_back({u"버전 정보", 201, false, false, {}});
  menu.items.push_back({u"", 0, true, false, {}});
  menu.items.push_back({u"종료", 202, false, false, {}});
  return {refresh, menu};
}

class SoftKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartDisplayWith(std::make_unique<HeadlessBackend>(), true));
    ASSERT_TRUE(owner_.CreateTop(Rect{0, 52, 480, 800}));
    ASSERT_TRUE(focus_.CreateChild(owner_, Rect{0, 0, 480, 100}, 5));
    ASSERT_TRUE(bar_.Create(owner_, owner_.hwnd(), TwoKeys(), false));
    SetFocus(focus_.hwnd());
    Drain();
  }
  void TearDown() override {
    bar_.Destroy();
    owner_.Destroy();
    StopDisplay();
    Drain();
  }
  std::vector<WPARAM> Commands() {
    Drain();
    return owner_.TakeParams(WM_COMMAND);
  }
  void Play(InputScript& s) { ASSERT_TRUE(PlayScript(s.Idle(), 10000)); }

  RecordingWindow owner_;
  RecordingWindow focus_;
  SoftKeyBar bar_;
};

TEST_F(SoftKeys, KeysAndFingerPressTheSoftKeysAndChooseFromThePopup) {
  EXPECT_EQ(bar_.rect(), (Rect{0, 696, 480, 748}));
  // F1 presses the left key although another window has the focus.
  InputScript f1;
  f1.Key(VK_F1);
  Play(f1);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{100});
  EXPECT_EQ(focus_.Count(WM_KEYDOWN), 0);

  // F2 opens the pop-up after WM_INITMENUPOPUP, in which the owner adds an
  // item and ticks one; Up from none takes the bottom item, Enter chooses.
  bool open_at_init = true;
  owner_.on[WM_INITMENUPOPUP] = [&](WPARAM w, LPARAM l) -> LRESULT {
    open_at_init = bar_.IsPopupOpen();
    EXPECT_EQ(l, 1);
    auto* popup = reinterpret_cast<SoftMenu*>(w);
    if (popup->ItemCount() == 3) popup->AppendItem(203, u"추가");
    popup->CheckItem(201, true);
    return 0;
  };
  InputScript up;
  up.Key(VK_F2).Call([&] {
    ASSERT_TRUE(bar_.IsPopupOpen());
    EXPECT_EQ(bar_.popup()->highlight(), -1);
  });
  up.Key(VK_UP).Call([&] { EXPECT_EQ(bar_.popup()->highlight(), 3); });
  up.Key(VK_RETURN);
  Play(up);
  EXPECT_FALSE(open_at_init);
  EXPECT_FALSE(bar_.IsPopupOpen());
  EXPECT_EQ(Commands(), std::vector<WPARAM>{203});
  EXPECT_TRUE(bar_.menu().IsChecked(201));

  // Down from none takes the top item; Down again skips the separator;
  // back closes without a choice.
  InputScript down;
  down.Key(VK_F2).Key(VK_DOWN).Call([&] { EXPECT_EQ(bar_.popup()->highlight(), 0); });
  down.Key(VK_DOWN).Call([&] { EXPECT_EQ(bar_.popup()->highlight(), 2); });
  down.Key(VK_TBACK);
  Play(down);
  EXPECT_FALSE(bar_.IsPopupOpen());
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(focus_.Count(WM_KEYDOWN), 0);  // the keys went to the pop-up only

  // The finger: the left key sends its command; the right one opens the
  // pop-up, a tap outside closes it and reaches nobody, a tap on an item
  // chooses it.
  InputScript finger;
  finger.Tap(60, 775).Tap(420, 775).Call([&] { EXPECT_TRUE(bar_.IsPopupOpen()); });
  finger.Tap(100, 300).Call([&] { EXPECT_FALSE(bar_.IsPopupOpen()); });
  Play(finger);
  Drain();
  EXPECT_EQ(owner_.Count(WM_LBUTTONDOWN) + owner_.Count(WM_LBUTTONUP), 0);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{100});
  InputScript open;
  open.Tap(420, 775);
  Play(open);
  ASSERT_TRUE(bar_.IsPopupOpen());
  Rect popup = bar_.popup()->rect();
  SoftPopupLayout layout = LayoutSoftPopup(*bar_.menu().SubMenu(1), 1, bar_.ScreenRect());
  EXPECT_EQ(popup, layout.window);
  EXPECT_EQ(popup.bottom, 748);
  EXPECT_EQ(popup.right, 480);
  Rect item = layout.items[2].Offset(popup.left, popup.top);  // 종료
  InputScript choose;
  choose.Tap((item.left + item.right) / 2.0, (item.top + item.bottom) / 2.0);
  Play(choose);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{202});
}

TEST(SoftMenuItems, RunTimeChanges) {
  SoftMenu menu(TwoKeys());
  ASSERT_EQ(menu.ItemCount(), 2u);
  EXPECT_EQ(menu.ItemId(0), 100u);
  EXPECT_EQ(menu.ItemId(1), kSoftMenuPopupId);
  SoftMenu& popup = *menu.SubMenu(1);
  EXPECT_EQ(popup.ItemId(1), 0u);  // the separator
  EXPECT_TRUE(menu.CheckItem(202, true));
  EXPECT_TRUE(popup.IsChecked(202));
  EXPECT_TRUE(menu.CheckItem(202, false));
  EXPECT_FALSE(menu.IsChecked(202));
  EXPECT_FALSE(menu.CheckItem(999, true));
  popup.InsertItem(0, 300, u"첫째");
  popup.InsertItem(99, 301, u"끝");
  EXPECT_EQ(popup.ItemId(0), 300u);
  EXPECT_EQ(popup.ItemId(popup.ItemCount() - 1), 301u);
  EXPECT_TRUE(menu.DeleteItem(300));
  EXPECT_FALSE(menu.DeleteItem(300));
  EXPECT_TRUE(popup.RemoveItem(0));
  EXPECT_FALSE(popup.RemoveItem(99));
  EXPECT_EQ(popup.ItemCount(), 3u);
  EXPECT_EQ(NextSoftPopupItem(popup, -1, -1), 2);
  popup.RemoveAll();
  EXPECT_EQ(NextSoftPopupItem(popup, -1, 1), -1);
}

}  // namespace
}  // namespace brantel
