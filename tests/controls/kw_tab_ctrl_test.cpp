// The tab strip: press and release rules, the notification, and the
// highlight, icons and caption colours it paints (the main tab bar's set-up).

#include "controls/kw_tab_ctrl.h"

#include <gtest/gtest.h>

#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/app_messages.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

KWTab TabAt(int id, int left) { return KWTab{id, Rect{left, 0, left + 130, 88}, {}, {}, u"", 0, 0, u""}; }

TEST(TabStripState, PressReleaseSelectsOnlyAnotherTabUnderThePointer) {
  TabStripState s;
  s.AddTab(TabAt(11000, 20));
  s.AddTab(TabAt(11001, 175));
  s.AddTab(TabAt(11002, 330));
  EXPECT_EQ(s.selected(), 0);
  EXPECT_EQ(s.pressed(), -1);

  EXPECT_FALSE(s.Press({160, 40}));  // the gap between tabs
  EXPECT_FALSE(s.Release({160, 40}));

  ASSERT_TRUE(s.Press({200, 40}));
  EXPECT_TRUE(s.Highlighted(1));
  const auto picked = s.Release({250, 80});
  ASSERT_TRUE(picked);
  EXPECT_EQ(picked->index, 1);
  EXPECT_EQ(picked->tab_id, 11001);
  EXPECT_EQ(s.selected(), 1);
  EXPECT_EQ(s.pressed(), -1);

  // The selected tab again, and a release over another tab: nothing.
  s.Press({200, 40});
  EXPECT_FALSE(s.Release({200, 40}));
  s.Press({400, 40});
  EXPECT_FALSE(s.Release({30, 40}));
  EXPECT_EQ(s.selected(), 1);
  EXPECT_EQ(s.pressed(), -1);

  EXPECT_FALSE(s.SetSelected(3));
  EXPECT_FALSE(s.SetSelected(-1));
  EXPECT_TRUE(s.SetSelected(2));
  EXPECT_EQ(s.selected(), 2);
}

constexpr int kTop = 100;  // the strip's top on the screen
constexpr int kCells[3] = {20, 175, 330};

Surface Screen() {
  PumpPendingMessages();
  Surface screen;
  CopyScreen(screen);
  return screen;
}

// Pixels of exactly `colour` in the caption box of the tab at `left`.
int CaptionPixels(const Surface& screen, int left, COLORREF colour) {
  int n = 0;
  for (int y = kTop + 66; y < kTop + 88; ++y)
    for (int x = left; x < left + 130; ++x) n += PixelToColorRef(screen.at(x, y)) == colour;
  return n;
}

TEST(KWTabCtrl, NotifiesNewSelectionsAndPaintsHighlightIconsAndCaptionColours) {
  ResourceLibraryRef library = ResourceLibrary::Load(BRANTEL_BIN_DIR "/stock_resource.so");
  ASSERT_TRUE(library);
  testing::NotifiedParent parent(WM_TAB_SELECTED);
  ASSERT_TRUE(parent.Create(u"TestParent", u"", WS_VISIBLE, Rect::FromSize(0, kTop, 480, 300)));
  CKWTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(Rect{0, 0, 480, 88}, &parent, library, 10000));
  tabs.SetBackground(1010);
  tabs.SetHighlight(1009);
  tabs.SetFont(ViewerFont(18));
  const uint32_t icons[3][2] = {{1011, 1012}, {1016, 1015}, {1013, 1014}};
  const char16_t* captions[3] = {u"마이페이지", u"시장정보", u"종목검색"};
  for (int i = 0; i < 3; ++i)
    tabs.AddTab(11000 + i, Rect{kCells[i], 0, kCells[i] + 130, 88}, Rect{32, 0, 98, 66}, Rect{0, 66, 130, 88},
                captions[i], icons[i][0], icons[i][1]);

  // What the strip should show at a point of a cell outside icon and caption.
  Surface expected(480, 88);
  DeviceContext expected_dc(expected);
  TileImage(expected_dc, 0, 0, 480, *library->DecodedPicture(kPictureTypeGif, 1010));
  const uint32_t plain = expected.at(kCells[1] + 10, 40);
  DrawResourcePicture(expected_dc, kCells[0], 0, 130, 88, library, 1009);
  const uint32_t lit = expected.at(kCells[0] + 10, 40);
  ASSERT_NE(plain, lit);
  // After the middle tab is chosen: its highlight and selected icon, the
  // normal icons of the others.
  Surface chosen(480, 88);
  DeviceContext chosen_dc(chosen);
  TileImage(chosen_dc, 0, 0, 480, *library->DecodedPicture(kPictureTypeGif, 1010));
  DrawResourcePicture(chosen_dc, kCells[1], 0, 130, 88, library, 1009);
  for (int i = 0; i < 3; ++i) DrawResourcePicture(chosen_dc, kCells[i] + 32, 0, 66, 66, library, icons[i][i == 1]);

  Surface screen = Screen();
  EXPECT_EQ(screen.at(kCells[0] + 10, kTop + 40), lit);
  EXPECT_EQ(screen.at(kCells[1] + 10, kTop + 40), plain);
  EXPECT_GT(CaptionPixels(screen, kCells[0], kTabSelectedTextColor), 0);
  EXPECT_EQ(CaptionPixels(screen, kCells[0], kTabTextColor), 0);
  EXPECT_GT(CaptionPixels(screen, kCells[1], kTabTextColor), 0);
  EXPECT_EQ(CaptionPixels(screen, kCells[1], kTabSelectedTextColor), 0);

  // Pressing shows the highlight before the release; the release notifies.
  tabs.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kCells[1] + 60, 40));
  EXPECT_EQ(Screen().at(kCells[1] + 10, kTop + 40), lit);
  tabs.Send(WM_LBUTTONUP, 0, MAKELPARAM(kCells[1] + 60, 40));
  ASSERT_EQ(parent.got.size(), 1u);
  EXPECT_EQ(parent.got[0], std::make_pair(WPARAM(1), LPARAM(11001)));
  screen = Screen();
  EXPECT_EQ(screen.at(kCells[0] + 10, kTop + 40), plain);
  EXPECT_GT(CaptionPixels(screen, kCells[1], kTabSelectedTextColor), 0);
  // Selected icon for the selected tab, normal icon for the others.
  int icon_misses = 0;
  for (int left : kCells)
    for (int y = 0; y < 66; ++y)
      for (int x = left + 32; x < left + 98; ++x) icon_misses += screen.at(x, kTop + y) != chosen.at(x, y);
  EXPECT_EQ(icon_misses, 0);

  // Tapping the selected tab sends nothing; selecting in code repaints
  // without notifying.
  tabs.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kCells[1] + 60, 40));
  tabs.Send(WM_LBUTTONUP, 0, MAKELPARAM(kCells[1] + 60, 40));
  tabs.SetSelectedIndex(2);
  EXPECT_EQ(Screen().at(kCells[2] + 10, kTop + 40), lit);
  EXPECT_EQ(parent.got.size(), 1u);

  // Colours are settable; without a background the strip is black.
  tabs.SetTextColors(0x00FF00, 0x0000FF);
  tabs.SetBackground(0);
  screen = Screen();
  EXPECT_GT(CaptionPixels(screen, kCells[2], 0x0000FF), 0);
  EXPECT_GT(CaptionPixels(screen, kCells[0], 0x00FF00), 0);
  EXPECT_EQ(PixelToColorRef(screen.at(5, kTop + 40)), 0x000000u);

  // The highlight follows its offsets from the tab rectangle.
  tabs.SetHighlight(1009, -12, 0);
  Surface shifted(480, 88, 0xFF000000);
  DeviceContext shifted_dc(shifted);
  DrawResourcePicture(shifted_dc, kCells[2] - 12, 0, 130, 88, library, 1009);
  screen = Screen();
  EXPECT_EQ(screen.at(kCells[2] - 2, kTop + 40), shifted.at(kCells[2] - 2, 40));
  EXPECT_NE(screen.at(kCells[2] - 2, kTop + 40), 0xFF000000u);
  parent.Destroy();
}

}  // namespace
}  // namespace brantel
