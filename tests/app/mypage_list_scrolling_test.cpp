// The MyPage list scrolled with a finger as the user does: a fast flick
// coasts and comes to rest at the end of the list, a pull past the top
// springs back to it, and the list's scroll messages show and then fade
// the thumb.

#include "tests/app/mypage_test_support.h"

namespace brantel {
namespace {

using testing::Entry;
using testing::MyPageTest;
using testing::RunUntil;

TEST_F(MyPageTest, FlickAndPullRestInRangeAndTheThumbFades) {
  const char16_t* codes[] = {u"005930", u"000660", u"373220", u"207940", u"005380", u"000270", u"068270",
                             u"005490", u"035420", u"035720", u"051910", u"006400", u"105560", u"055550",
                             u"086790", u"316140", u"012330", u"028260", u"066570", u"003550"};
  for (const char16_t* code : codes) Watch({Entry(1, code, u"0", code)});
  CMyPageDlg& s = ShowAndRefresh();
  CMobileListCtrl& body = s.list().body();
  const int end = body.flicking().vertical().max();
  ASSERT_GT(end, 400) << "the list must be longer than the screen";
  const Rect list = body.ScreenRect();
  const double x = (list.left + list.right) / 2.0;

  // A fast flick up: coasts with the thumb shown, rests at the end, not past
  // it. (On a slow machine the coast may end before the first look, while the
  // thumb still shows.)
  int furthest = 0;
  bool thumb_seen = false;
  InputScript flick;
  flick.Press(x, list.bottom - 60).Move(x, list.bottom - 260, 15).Move(x, list.bottom - 460, 15).Release();
  ASSERT_TRUE(PlayScript(flick));
  ASSERT_TRUE(RunUntil([&] {
    furthest = std::max(furthest, body.VerticalPosition());
    if (!body.thumb_hidden()) thumb_seen = true;
    return !body.IsMoving();
  }));
  EXPECT_TRUE(thumb_seen);
  EXPECT_GT(furthest, 400);
  EXPECT_EQ(body.VerticalPosition(), end);
  ASSERT_TRUE(RunUntil([&] { return body.thumb_hidden(); }, 2000)) << "the end of the motion did not fade the thumb";
  EXPECT_EQ(body.thumb_alpha(), 255);
  Shot("mypage-list-end");

  // Back to the top, then a slow pull past it: it springs back to 0.
  body.SetVerticalPosition(0);
  int pulled = 0;
  InputScript pull;
  pull.Press(x, list.top + 40).Move(x, list.top + 140, 200).Move(x, list.top + 240, 200).Hold(300);
  pull.Call([&] { pulled = body.VerticalPosition(); }).Release();
  ASSERT_TRUE(PlayScript(pull));
  EXPECT_LT(pulled, 0);
  ASSERT_TRUE(RunUntil([&] { return !body.IsMoving() && body.VerticalPosition() == 0; }, 3000))
      << "rests at " << body.VerticalPosition();
  EXPECT_TRUE(RunUntil([&] { return body.thumb_hidden(); }, 2000));
}

}  // namespace
}  // namespace brantel
