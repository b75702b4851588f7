// The edit control on the headless display: typing, keys, selection by
// finger and keys, clipboard, undo, composition, change notices, horizontal
// scrolling and the line count of a wrapping multi-line edit.

#include <gtest/gtest.h>

#include "platform/gfx/device_context.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/clock.h"
#include "platform/ui/display.h"
#include "platform/ui/edit.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/input_router.h"
#include "platform/ui/script_player.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;
using testing::RecordingWindow;

constexpr int kEditId = 7;

class Edit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartDisplayWith(std::make_unique<HeadlessBackend>(), false));
    ASSERT_TRUE(parent_.CreateTop(Rect{0, 52, 480, 800}));
  }
  void TearDown() override {
    edit_.Destroy();
    parent_.Destroy();
    StopDisplay();
    Drain();
  }
  void MakeEdit(uint32_t style, const Rect& rect) {
    ASSERT_TRUE(edit_.Create(u"", WS_VISIBLE | style, rect, &parent_, kEditId));
    SetFocus(edit_.hwnd());
    Drain();
    parent_.log.clear();
  }
  int Changes() const {
    int n = 0;
    for (auto& r : parent_.Only(WM_COMMAND)) {
      EXPECT_EQ(r.wParam, WPARAM(MAKEWPARAM(kEditId, EN_CHANGE)));
      EXPECT_EQ(r.lParam, LPARAM(edit_.hwnd()));
      ++n;
    }
    return n;
  }
  std::pair<uint32_t, uint32_t> Sel() {
    uint32_t start = 0, end = 0;
    edit_.Send(EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return {start, end};
  }
  RecordingWindow parent_;
  EditControl edit_;
};

TEST_F(Edit, TypingClipboardUndoAndChangeNotices) {
  MakeEdit(0, Rect{10, 10, 300, 40});
  InputScript s;
  s.Text(u"abc").Key(VK_BACK).Key(VK_LEFT).Text(u"X").Idle();
  ASSERT_TRUE(PlayScript(s));
  EXPECT_EQ(GetWindowText(edit_.hwnd()), u"aXb");
  EXPECT_EQ(Changes(), 5);  // three letters, backspace, X; the arrow changes nothing

  // Undo takes back the whole run of typing, and a second undo redoes it.
  ASSERT_TRUE(edit_.Send(EM_CANUNDO));
  edit_.Send(WM_UNDO);
  EXPECT_EQ(edit_.model().text(), u"ab");
  edit_.Send(WM_UNDO);
  EXPECT_EQ(edit_.model().text(), u"aXb");

  edit_.Send(EM_SETSEL, 0, -1);
  EXPECT_EQ(Sel(), std::make_pair(0u, 3u));
  parent_.log.clear();
  edit_.Send(WM_CUT);
  EXPECT_EQ(edit_.model().text(), u"");
  EXPECT_EQ(GetClipboardText(), u"aXb");
  edit_.Send(WM_PASTE);
  edit_.Send(WM_PASTE);
  EXPECT_EQ(edit_.model().text(), u"aXbaXb");
  EXPECT_EQ(Changes(), 3);
  edit_.Send(EM_SETSEL, 1, 3);
  edit_.Send(WM_COPY);
  edit_.Send(WM_CLEAR);
  EXPECT_EQ(edit_.model().text(), u"aaXb");
  EXPECT_EQ(GetClipboardText(), u"Xb");

  // A single line takes the first line of what is pasted, within the limit.
  edit_.Send(EM_LIMITTEXT, 6);
  SetClipboardText(u"12345\r\nnext");
  edit_.Send(EM_SETSEL, 4, 4);
  edit_.Send(WM_PASTE);
  EXPECT_EQ(edit_.model().text(), u"aaXb12");

  // WM_SETTEXT notifies as typing does and leaves nothing to undo.
  parent_.log.clear();
  edit_.SetText(u"new");
  EXPECT_EQ(Changes(), 1);
  EXPECT_FALSE(edit_.Send(EM_CANUNDO));
  EXPECT_EQ(Sel(), std::make_pair(0u, 0u));
}

TEST_F(Edit, SelectionByKeysAndFinger) {
  MakeEdit(0, Rect{10, 10, 400, 40});
  edit_.SetText(u"hello world");
  edit_.Send(EM_SETSEL, 5, 5);
  InputScript s;
  s.Call([] { RouteKey(VK_SHIFT, true); }).Key(VK_RIGHT).Key(VK_RIGHT).Call([] { RouteKey(VK_SHIFT, false); });
  s.Idle();
  ASSERT_TRUE(PlayScript(s));
  EXPECT_EQ(edit_.model().SelectedText(), u" w");
  InputScript home;
  home.Call([] { RouteKey(VK_SHIFT, true); }).Key(VK_HOME).Call([] { RouteKey(VK_SHIFT, false); }).Idle();
  ASSERT_TRUE(PlayScript(home));
  EXPECT_EQ(Sel(), std::make_pair(0u, 5u));  // the anchor stays at 5

  // A finger drag from the left edge to the right selects everything.
  const Rect screen = edit_.ScreenRect();
  InputScript drag;
  drag.Press(screen.left + 1, screen.top + 10).Move(screen.right - 2, screen.top + 10, 20).Release().Idle();
  ASSERT_TRUE(PlayScript(drag));
  EXPECT_EQ(Sel(), std::make_pair(0u, 11u));
  // Control+X cuts it.
  InputScript cut;
  cut.Call([] { RouteKey(VK_CONTROL, true); }).Key('X').Call([] { RouteKey(VK_CONTROL, false); }).Idle();
  ASSERT_TRUE(PlayScript(cut));
  EXPECT_EQ(edit_.model().text(), u"");
  EXPECT_EQ(GetClipboardText(), u"hello world");
}

TEST_F(Edit, CompositionIsShownAtTheCaretUntilItsCharacterArrives) {
  MakeEdit(0, Rect{10, 10, 300, 40});
  edit_.SetText(u"ab");
  edit_.Send(EM_SETSEL, 1, 1);
  parent_.log.clear();
  RouteCompositionUpdate(u'하');
  Drain();
  EXPECT_EQ(edit_.model().composition(), u"하");
  EXPECT_EQ(edit_.model().text(), u"ab");
  EXPECT_EQ(edit_.model().CaretPoint().x, edit_.model().Width(0, 1) + edit_.model().CompositionWidth());
  EXPECT_EQ(Changes(), 0);
  RouteCompositionResult(u"한");
  RouteCompositionEnd();
  Drain();
  InputScript s;
  s.Compose({u'ㄱ', u'구', u'국'}, u"국").Idle();
  ASSERT_TRUE(PlayScript(s));
  EXPECT_EQ(edit_.model().text(), u"a한국b");
  EXPECT_TRUE(edit_.model().composition().empty());
  EXPECT_EQ(Changes(), 2);  // one per finished character
}

TEST_F(Edit, SingleLineScrollsToKeepTheCaretInViewAndTheCaretBlinksOnlyWithFocus) {
  MakeEdit(0, Rect{10, 10, 110, 40});
  InputScript s;
  s.Text(u"the quick brown fox jumps over the lazy dog").Idle();
  ASSERT_TRUE(PlayScript(s));
  const EditModel& m = edit_.model();
  auto caret_in_view = [&] {
    const int x = m.CaretPoint().x - m.scroll_x();
    return x >= 0 && x + EditModel::kCaretWidth <= 100;
  };
  EXPECT_GT(m.scroll_x(), 0);
  EXPECT_TRUE(caret_in_view());
  edit_.Send(WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(m.scroll_x(), 0);
  edit_.Send(WM_KEYDOWN, VK_END);
  EXPECT_TRUE(caret_in_view());
  // Deleting from the end pulls the text back: no empty room at the right.
  edit_.Send(EM_SETSEL, 5, -1);
  edit_.Send(WM_CLEAR);
  EXPECT_EQ(m.scroll_x(), 0);

  ManualClockScope clock;
  edit_.Send(WM_KEYDOWN, VK_END);  // restarts the caret on this clock
  const bool on = edit_.caret_on();
  AdvanceClock(EditControl::kCaretBlinkMs);
  Drain();
  EXPECT_NE(edit_.caret_on(), on);
  SetFocus(parent_.hwnd());
  Drain();
  const bool off_focus = edit_.caret_on();
  AdvanceClock(3 * EditControl::kCaretBlinkMs);
  Drain();
  EXPECT_EQ(edit_.caret_on(), off_focus);
}

TEST_F(Edit, MultiLineCountMatchesDrawTextWrapping) {
  const Font font(kGothicFace, 36);
  MakeEdit(ES_MULTILINE, Rect{0, 0, 393, 400});
  edit_.SetFont(font);
  Surface surface(400, 400);
  DeviceContext dc(surface);
  dc.SelectFont(font);
  const std::u16string texts[] = {
      u"",
      u"짧은 글",
      u"최신 데이터를 받지 못했습니다. 잠시 후 다시 시도해 주십시오.",
      u"MyPage에는 종목을 200개까지 등록할 수 있습니다. 다른 종목을 지운 뒤 다시 등록해 주십시오.",
      u"averyveryverylongwordwithoutanyspacethatmustbesplitbetweencharacters and more",
      u"first line\r\nsecond line that is long enough to wrap at this width\r\nthird",
      u"trailing spaces at a wrap                                      next",
  };
  for (const auto& text : texts) {
    edit_.SetText(text);
    Rect r{0, 0, 393, 0};
    dc.DrawText(text, r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    const int drawn = std::max(1, r.Height() / 36);
    EXPECT_EQ(edit_.Send(EM_GETLINECOUNT), drawn) << Narrow(text);
  }
  // The caret goes down a line and back up to the same place.
  edit_.SetText(texts[3]);
  ASSERT_GE(edit_.Send(EM_GETLINECOUNT), 3);
  edit_.Send(EM_SETSEL, 4, 4);
  edit_.Send(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(edit_.model().LineOf(edit_.model().caret()), 1u);
  edit_.Send(WM_KEYDOWN, VK_UP);
  EXPECT_EQ(edit_.model().caret(), 4u);
}

}  // namespace
}  // namespace brantel
