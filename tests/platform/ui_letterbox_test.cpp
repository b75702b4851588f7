// The screen kept in proportion inside a larger output (full screen or a
// resized window): where it lies, and how a finger on the output maps back.

#include "platform/ui/letterbox.h"

#include <gtest/gtest.h>

namespace brantel {
namespace {

TEST(Letterbox, ScreenIsCentredWithBarsAndPointsMapBothWays) {
  // A landscape 1920 x 1080 display: the 480 x 800 screen is 648 x 1080 with
  // bars left and right.
  const Rect portrait = LetterboxRect(1920, 1080, 480, 800);
  EXPECT_EQ(portrait.left, 636);
  EXPECT_EQ(portrait.top, 0);
  EXPECT_EQ(portrait.Width(), 648);
  EXPECT_EQ(portrait.Height(), 1080);

  double x = 0, y = 0;
  LetterboxToScreen(portrait, 480, 800, 636, 0, &x, &y);  // the screen's corner
  EXPECT_DOUBLE_EQ(x, 0);
  EXPECT_DOUBLE_EQ(y, 0);
  LetterboxToScreen(portrait, 480, 800, 636 + 324, 540, &x, &y);  // its middle
  EXPECT_DOUBLE_EQ(x, 240);
  EXPECT_DOUBLE_EQ(y, 400);
  LetterboxToScreen(portrait, 480, 800, 100, 540, &x, &y);  // on the left bar: off the screen
  EXPECT_LT(x, 0);

  // A phone's own 1080 x 2340 portrait display, the screen turned to 800 x
  // 480: bars above and below.
  const Rect turned = LetterboxRect(1080, 2340, 800, 480);
  EXPECT_EQ(turned.left, 0);
  EXPECT_EQ(turned.Width(), 1080);
  EXPECT_EQ(turned.Height(), 648);
  EXPECT_EQ(turned.top, (2340 - 648) / 2);
  LetterboxToScreen(turned, 800, 480, 1080, turned.bottom, &x, &y);
  EXPECT_DOUBLE_EQ(x, 800);
  EXPECT_DOUBLE_EQ(y, 480);

  // An edit's place on the screen lands where it is shown, covering it whole.
  const Rect edit = LetterboxFromScreen(portrait, 480, 800, Rect{10, 100, 470, 130});
  EXPECT_EQ(edit.left, 636 + 13);   // 10 * 1.35 = 13.5, widened outward
  EXPECT_EQ(edit.top, 135);
  EXPECT_EQ(edit.right, 636 + 635);  // 470 * 1.35 = 634.5
  EXPECT_EQ(edit.bottom, 176);       // 130 * 1.35 = 175.5

  // A window too small to hold anything, or no output, gives no place.
  EXPECT_TRUE(LetterboxRect(0, 600, 480, 800).IsEmpty());
  EXPECT_EQ(LetterboxRect(1, 1, 480, 800).Width(), 1);
}

}  // namespace
}  // namespace brantel
