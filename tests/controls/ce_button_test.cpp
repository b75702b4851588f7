// The CE button: look rules, click notification, sliding off, and the
// pictures it paints for each look.

#include "controls/ce_button.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/gfx/png_writer.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

TEST(CeButtonState, LooksFollowPressSlideAndRelease) {
  CeButtonState s;
  EXPECT_EQ(s.look(), CeButtonLook::kNormal);
  ASSERT_TRUE(s.Press());
  EXPECT_EQ(s.look(), CeButtonLook::kPressed);
  s.Move(true);
  EXPECT_EQ(s.look(), CeButtonLook::kPressed);
  s.Move(false);  // slid off: resting look again, and no click on release
  EXPECT_EQ(s.look(), CeButtonLook::kNormal);
  s.Move(true);
  EXPECT_EQ(s.look(), CeButtonLook::kNormal);
  EXPECT_FALSE(s.Release());

  ASSERT_TRUE(s.Press());
  EXPECT_TRUE(s.Release());
  EXPECT_FALSE(s.Release());  // a second release without press is nothing

  s.SetSelected(true);
  EXPECT_EQ(s.look(), CeButtonLook::kSelected);
  s.Press();
  s.Move(false);
  EXPECT_EQ(s.look(), CeButtonLook::kSelected);
  s.Release();

  s.SetEnabled(false);
  EXPECT_EQ(s.look(), CeButtonLook::kDisabled);
  EXPECT_FALSE(s.Press());
  EXPECT_FALSE(s.Release());
  s.SetEnabled(true);
  EXPECT_EQ(s.look(), CeButtonLook::kSelected);
}

// A one-colour PNG of the button's size.
std::string SolidPng(COLORREF color) {
  Surface s(40, 20, ColorRefToPixel(color));
  std::string bytes;
  EncodePng(s, bytes);
  return bytes;
}

TEST(CeButton, ClicksGoToTheParentAndEachLookPaintsItsPicture) {
  testing::NotifiedParent parent(WM_CEBUTTON_CLICKED);
  ASSERT_TRUE(parent.Create(u"TestParent", u"", WS_VISIBLE, Rect::FromSize(0, 100, 200, 100)));
  CCeButton button;
  ASSERT_TRUE(button.Create(Rect::FromSize(10, 10, 40, 20), &parent, 8877));
  std::map<uint32_t, std::string> pictures = {{1, SolidPng(0x0000FF)}, {2, SolidPng(0x00FF00)}};
  button.SetImages([&](uint32_t n) { return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(pictures[n].data()), pictures[n].size()); }, 1, 2);

  auto screen_colour = [&] {
    PumpPendingMessages();
    Surface screen;
    CopyScreen(screen);
    return PixelToColorRef(screen.at(30, 120));
  };
  EXPECT_EQ(screen_colour(), 0x0000FFu);

  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(button.look(), CeButtonLook::kPressed);
  EXPECT_EQ(screen_colour(), 0x00FF00u);
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(parent.got.size(), 1u);
  EXPECT_EQ(parent.got[0], std::make_pair(WPARAM(8877), LPARAM(3)));

  // Sliding off sends nothing.
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 5));
  EXPECT_EQ(screen_colour(), 0x0000FFu);
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(60, 5));
  EXPECT_EQ(parent.got.size(), 1u);

  // Looks without their own picture (ids 0) show the normal one; a disabled
  // button ignores presses.
  button.SetSelected(true);
  EXPECT_EQ(screen_colour(), 0x0000FFu);
  button.EnableButton(false);
  EXPECT_EQ(button.look(), CeButtonLook::kDisabled);
  EXPECT_EQ(screen_colour(), 0x0000FFu);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(parent.got.size(), 1u);
  parent.Destroy();
}

}  // namespace
}  // namespace brantel
