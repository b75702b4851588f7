// Dialogs: nested modal loops, EndDialog, owners, quit inside a modal loop,
// modeless dialogs and the pre-dispatch hook.

#include <gtest/gtest.h>

#include "platform/ui/dialog.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::RecordingWindow;

class ScriptedDialog : public Dialog {
 public:
  std::function<void(ScriptedDialog&)> on_init;
  std::function<bool(Message*)> pre;
  std::function<void(ScriptedDialog&, WPARAM)> on_app;
  std::vector<uint32_t> seen;

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(message);
    if (message == WM_APP && on_app) {
      on_app(*this, wParam);
      return 0;
    }
    return Dialog::WindowProc(message, wParam, lParam);
  }
  bool PreTranslateMessage(Message* msg) override { return pre ? pre(msg) : false; }

 protected:
  bool OnInitDialog() override {
    if (on_init) on_init(*this);
    return true;
  }
};

TEST(Dialog, NestedModalLoopsEndInnermostFirstWithTheirResults) {
  RecordingWindow main;
  ASSERT_TRUE(main.CreateTop(Rect{0, 0, 480, 800}));
  ScriptedDialog outer, inner;
  std::vector<std::string> order;
  intptr_t inner_result = 0;
  outer.on_init = [&](ScriptedDialog& d) { d.Post(WM_APP, 1); };
  outer.on_app = [&](ScriptedDialog& d, WPARAM) {
    EXPECT_FALSE(d.IsEnabled() == false);
    EXPECT_FALSE(main.IsEnabled());  // the owner is disabled while the dialog runs
    inner_result = inner.DoModal(&d);
    order.push_back("inner returned");
    EXPECT_TRUE(d.IsEnabled());
    EXPECT_EQ(GetActiveWindow(), d.hwnd());  // activation came back to the outer dialog
    d.EndDialog(77);
  };
  inner.on_init = [&](ScriptedDialog& d) { d.Post(WM_APP, 2); };
  inner.on_app = [&](ScriptedDialog& d, WPARAM) {
    EXPECT_FALSE(outer.IsEnabled());
    order.push_back("inner ending");
    d.EndDialog(IDOK);
  };
  intptr_t r = outer.DoModal(&main);
  order.push_back("outer returned");
  EXPECT_EQ(r, 77);
  EXPECT_EQ(inner_result, IDOK);
  EXPECT_EQ(order, (std::vector<std::string>{"inner ending", "inner returned", "outer returned"}));
  EXPECT_FALSE(outer.IsAlive());
  EXPECT_FALSE(inner.IsAlive());
  EXPECT_TRUE(main.IsEnabled());
  EXPECT_EQ(GetActiveWindow(), main.hwnd());
}

TEST(Dialog, DefaultPlacementIsTheWorkAreaAndCommandsEndIt) {
  ScriptedDialog d;
  d.SetInitialText(u"제목");
  Rect seen;
  d.on_init = [&](ScriptedDialog& self) {
    seen = self.rect();
    // The title-bar close command of the shell: identifier 2 with 0x1000.
    self.Post(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x1000), 0);
  };
  EXPECT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_EQ(seen, GetWorkArea());
}

TEST(Dialog, EndDialogInsideInitEndsWithoutRunningTheLoop) {
  ScriptedDialog d;
  d.on_init = [](ScriptedDialog& self) { self.EndDialog(5); };
  EXPECT_EQ(d.DoModal(), 5);
  EXPECT_FALSE(d.IsAlive());
}

TEST(Dialog, QuitInsideANestedLoopEndsItAndReachesTheOuterLoop) {
  ScriptedDialog outer, inner;
  outer.on_init = [](ScriptedDialog& d) { d.Post(WM_APP); };
  outer.on_app = [&](ScriptedDialog&, WPARAM) { inner.DoModal(&outer); };
  inner.on_init = [](ScriptedDialog&) { PostQuitMessage(9); };
  EXPECT_EQ(outer.DoModal(), IDCANCEL);
  Message m;
  ASSERT_TRUE(PeekMessage(&m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 9u);
}

TEST(Dialog, DestroyingTheDialogWindowEndsItsLoop) {
  ScriptedDialog d;
  d.on_init = [](ScriptedDialog& self) { self.Post(WM_APP); };
  d.on_app = [](ScriptedDialog& self, WPARAM) { self.Destroy(); };
  d.DoModal();
  EXPECT_FALSE(d.IsAlive());
}

TEST(Dialog, DeletingTheDialogObjectInsideItsLoopIsSafe) {
  auto* d = new ScriptedDialog;
  d->on_init = [](ScriptedDialog& self) { self.Post(WM_APP); };
  d->on_app = [](ScriptedDialog& self, WPARAM) { delete &self; };
  EXPECT_EQ(d->DoModal(), IDCANCEL);
}

TEST(Dialog, PreDispatchHookSeesMessagesOfItsChildrenAndCanConsumeThem) {
  ScriptedDialog d;
  RecordingWindow child;
  int hooked = 0;
  d.on_init = [&](ScriptedDialog& self) {
    child.CreateChild(self, Rect{0, 0, 10, 10}, 100);
    child.Post(WM_APP + 5);
    child.Post(WM_APP + 6);
  };
  d.pre = [&](Message* m) {
    if (m->message == WM_APP + 5) {
      ++hooked;
      return true;  // consumed: the child never sees it
    }
    if (m->message == WM_APP + 6) d.EndDialog(IDOK);
    return false;
  };
  EXPECT_EQ(d.DoModal(), IDOK);
  EXPECT_EQ(hooked, 1);
  EXPECT_EQ(child.Count(WM_APP + 5), 0);
  EXPECT_EQ(child.Count(WM_APP + 6), 1);
}

TEST(Dialog, ChildDialogsGetInitTheirHookAndTheShellEventsOfTheirTopLevelWhileShown) {
  ScriptedDialog top, shown, hidden;
  RecordingWindow other, inner;
  ASSERT_TRUE(other.CreateTop(Rect{0, 52, 100, 100}));
  ASSERT_TRUE(top.CreateModeless());
  ASSERT_TRUE(shown.CreateChild(&top, Rect{0, 88, 480, 748}, 104));
  ASSERT_TRUE(hidden.CreateChild(&top, Rect{0, 88, 480, 748}, 105));
  EXPECT_NE(std::find(shown.seen.begin(), shown.seen.end(), WM_INITDIALOG), shown.seen.end());
  EXPECT_FALSE(shown.IsVisibleFlag());
  EXPECT_EQ(shown.parent(), &top);
  EXPECT_EQ(shown.id(), 104);
  shown.Show(SW_SHOW);

  // The child dialog's hook sees what goes to its own children.
  ASSERT_TRUE(inner.CreateChild(shown, Rect{0, 0, 10, 10}, 1));
  shown.pre = [](Message* m) { return m->message == WM_APP + 7; };
  inner.Post(WM_APP + 7);
  PumpPendingMessages();
  EXPECT_EQ(inner.Count(WM_APP + 7), 0);

  auto count = [](const ScriptedDialog& d, uint32_t message) {
    return std::count(d.seen.begin(), d.seen.end(), message);
  };
  SetActiveWindow(other.hwnd());
  SetActiveWindow(top.hwnd());
  SetInputPanel(true);
  SetInputPanel(false);
  EXPECT_EQ(count(shown, WM_ACTIVATE), 2);  // losing and gaining, as the top-level did
  EXPECT_EQ(count(shown, WM_SETTINGCHANGE), 2);
  EXPECT_EQ(count(hidden, WM_ACTIVATE), 0);
  EXPECT_EQ(count(hidden, WM_SETTINGCHANGE), 0);
  EXPECT_EQ(other.Count(WM_SETTINGCHANGE), 2);
  top.Destroy();
}

TEST(Dialog, ModelessDialogLivesUntilItsOwnerGoes) {
  RecordingWindow owner;
  ASSERT_TRUE(owner.CreateTop(Rect{0, 0, 480, 800}));
  ScriptedDialog help;
  help.SetInitialRect(Rect{0, 52, 480, 800});
  ASSERT_TRUE(help.CreateModeless(&owner));
  EXPECT_TRUE(owner.IsEnabled());  // modeless: the owner stays usable
  EXPECT_EQ(help.rect(), (Rect{0, 52, 480, 800}));
  EXPECT_EQ(GetActiveWindow(), help.hwnd());
  owner.Destroy();
  EXPECT_FALSE(help.IsAlive());
}

}  // namespace
}  // namespace brantel
