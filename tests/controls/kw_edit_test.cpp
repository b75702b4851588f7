// CKWEdit: its colours and hint, the notifications to its parent for taps,
// keys and composition, and the edit commands, on the headless display.

#include <gtest/gtest.h>

#include "controls/kw_edit.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/script_player.h"
#include "platform/ui/app_messages.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;
using testing::Received;
using testing::RecordingWindow;

constexpr int kEditId = 11220;

TEST(KwEditState, ColoursHintAndNotices) {
  KwEditState s;
  EXPECT_EQ(s.colors().text, 0u);
  EXPECT_EQ(s.colors().background, 0xFFFFFFu);
  EXPECT_TRUE(s.context_command());
  s.SetColors(0x666666, 0xF2F2F2);
  s.SetHint();
  EXPECT_EQ(s.colors().text, kKwEditHintColor);
  EXPECT_EQ(s.colors().background, 0xF2F2F2u);  // the background stays
  EXPECT_EQ(s.colors().brush.color, 0xF2F2F2u);

  // While the hint is set every character is reported; backspace also on
  // its own account.
  EXPECT_EQ(s.Char(u'a'), (KwEditNotices{{WM_KWEDIT_NOTIFY, u'a', 0}}));
  EXPECT_EQ(s.Char(8), (KwEditNotices{{WM_KWEDIT_NOTIFY, 8, 0}, {WM_KWEDIT_NOTIFY, 8, 0}}));
  s.CompositionStart();
  EXPECT_TRUE(s.composing());
  EXPECT_EQ(s.CompositionUpdate(), (KwEditNotices{{WM_KWEDIT_NOTIFY, 0, 0}}));
  EXPECT_FALSE(s.hint());
  EXPECT_TRUE(s.CompositionUpdate().empty());
  EXPECT_EQ(s.CompositionEnd(), (KwEditNotices{{WM_KWEDIT_COMPOSED, 0, 0}}));
  EXPECT_FALSE(s.composing());
  // Without a hint only backspace is reported.
  EXPECT_TRUE(s.Char(u'b').empty());
  EXPECT_EQ(s.Char(8), (KwEditNotices{{WM_KWEDIT_NOTIFY, 8, 0}}));
}

class KwEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartDisplayWith(std::make_unique<HeadlessBackend>(), false));
    ASSERT_TRUE(parent_.CreateTop(Rect{0, 52, 480, 800}));
    ASSERT_TRUE(edit_.Create(u"", WS_VISIBLE, Rect{26, 31, 306, 56}, &parent_, kEditId));
    edit_.SetColors(0x666666, 0xF2F2F2);
    edit_.SetHint(u"종목명 또는 코드");
    Drain();
    parent_.log.clear();
  }
  void TearDown() override {
    edit_.Destroy();
    parent_.Destroy();
    StopDisplay();
    Drain();
  }
  std::vector<Received> Notices() const {
    std::vector<Received> out;
    for (auto& r : parent_.log)
      if (r.message == WM_KWEDIT_NOTIFY || r.message == WM_KWEDIT_COMPOSED) out.push_back(r);
    return out;
  }
  int Changes() const { return parent_.Count(WM_COMMAND); }
  void Command(int id) { edit_.Send(WM_COMMAND, WPARAM(id)); }
  RecordingWindow parent_;
  CKWEdit edit_;
};

TEST_F(KwEdit, TapHoldCompositionAndBackspaceNotifyTheParent) {
  EXPECT_TRUE(edit_.hint());
  EXPECT_EQ(edit_.model().text(), u"종목명 또는 코드");
  // A tap reports (0, 1) and focuses; so does a hold (the context gesture).
  const Rect r = edit_.ScreenRect();
  InputScript tap;
  tap.Tap(r.left + 5, r.top + 5).Idle();
  ASSERT_TRUE(PlayScript(tap));
  EXPECT_EQ(GetFocus(), edit_.hwnd());
  SetFocus(parent_.hwnd());
  InputScript hold;
  hold.Press(r.left + 5, r.top + 5).Hold(600).Release().Idle();
  ASSERT_TRUE(PlayScript(hold));
  EXPECT_EQ(GetFocus(), edit_.hwnd());
  auto n = Notices();
  ASSERT_EQ(n.size(), 2u);
  EXPECT_EQ(n[0].wParam, 0u);
  EXPECT_EQ(n[0].lParam, 1);
  EXPECT_EQ(n[1].lParam, 1);

  // The screen clears the hint on the first notice; here the script does.
  parent_.log.clear();
  InputScript s;
  s.Compose({u'ㅎ', u'하', u'한'}, u"한").Call([&] { edit_.SetText(u""); }).Idle();
  ASSERT_TRUE(PlayScript(s));
  n = Notices();
  ASSERT_EQ(n.size(), 2u);
  EXPECT_EQ(n[0].message, WM_KWEDIT_NOTIFY);
  EXPECT_EQ(n[0].wParam, 0u);
  EXPECT_EQ(n[0].lParam, 0);
  EXPECT_EQ(n[1].message, WM_KWEDIT_COMPOSED);
  EXPECT_FALSE(edit_.hint());
  EXPECT_FALSE(edit_.composing());
  EXPECT_EQ(Changes(), 2);  // the finished character and the text set by the script

  parent_.log.clear();
  InputScript keys;
  keys.Text(u"삼성").Key(VK_BACK).Idle();
  ASSERT_TRUE(PlayScript(keys));
  EXPECT_EQ(edit_.model().text(), u"삼");
  n = Notices();
  ASSERT_EQ(n.size(), 1u);  // only backspace without a hint
  EXPECT_EQ(n[0].wParam, 8u);
  EXPECT_EQ(Changes(), 3);
  // The edit answers its own colour request: the parent is never asked.
  edit_.Invalidate();
  Drain();
  EXPECT_EQ(parent_.Count(WM_CTLCOLOREDIT), 0);
}

TEST_F(KwEdit, EditCommands) {
  edit_.SetText(u"005930");
  SetFocus(parent_.hwnd());
  Command(kKwEditUndo);  // nothing to undo: nothing happens
  EXPECT_EQ(edit_.model().text(), u"005930");
  Command(kKwEditSelectAll);
  EXPECT_EQ(GetFocus(), edit_.hwnd());
  EXPECT_EQ(edit_.model().sel_start(), 0u);
  EXPECT_EQ(edit_.model().sel_end(), 6u);
  Command(kKwEditCut);
  EXPECT_EQ(edit_.model().text(), u"");
  Command(kKwEditPaste);
  Command(kKwEditPaste);
  EXPECT_EQ(edit_.model().text(), u"005930005930");
  Command(kKwEditUndo);
  EXPECT_EQ(edit_.model().text(), u"005930");
  Command(kKwEditSelectAll);
  Command(kKwEditCopy);
  Command(kKwEditClear);
  EXPECT_EQ(edit_.model().text(), u"");
  EXPECT_EQ(GetClipboardText(), u"005930");
}

}  // namespace
}  // namespace brantel
