// The window tree: destruction order, activation, focus, capture, z-order,
// hit-testing and the handle-based operations.

#include <gtest/gtest.h>

#include "platform/ui/message_queue.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;
using testing::RecordingWindow;

// Records messages of several windows in one sequence.
struct Journal {
  std::vector<std::pair<std::string, uint32_t>> entries;
  void Watch(RecordingWindow& w, const std::string& name, std::initializer_list<uint32_t> messages) {
    for (uint32_t m : messages) {
      w.on[m] = [this, &w, name, m](WPARAM wp, LPARAM lp) {
        entries.emplace_back(name, m);
        return w.DefWindowProc(m, wp, lp);
      };
    }
  }
};

TEST(WindowTree, DestroyGoesToOwnedWindowsFirstThenParentBeforeChildren) {
  Journal j;
  RecordingWindow owner, owned, child, grandchild;
  ASSERT_TRUE(owner.CreateTop(Rect{0, 0, 100, 100}));
  ASSERT_TRUE(child.CreateChild(owner, Rect{0, 0, 50, 50}, 1));
  ASSERT_TRUE(grandchild.CreateChild(child, Rect{0, 0, 10, 10}, 2));
  WindowParams p;
  p.class_name = u"Owned";
  p.rect = Rect{10, 10, 20, 20};
  p.owner = &owner;
  ASSERT_TRUE(owned.Create(p));
  j.Watch(owner, "owner", {WM_DESTROY});
  j.Watch(owned, "owned", {WM_DESTROY});
  j.Watch(child, "child", {WM_DESTROY});
  j.Watch(grandchild, "grandchild", {WM_DESTROY});
  owner.Destroy();
  using E = std::pair<std::string, uint32_t>;
  EXPECT_EQ(j.entries, (std::vector<E>{{"owned", WM_DESTROY},
                                       {"owner", WM_DESTROY},
                                       {"child", WM_DESTROY},
                                       {"grandchild", WM_DESTROY}}));
  EXPECT_FALSE(owner.IsAlive());
  EXPECT_FALSE(child.IsAlive());
  EXPECT_FALSE(grandchild.IsAlive());
  EXPECT_FALSE(owned.IsAlive());
  // The objects can be created again.
  EXPECT_TRUE(child.CreateTop(Rect{0, 0, 5, 5}));
}

TEST(WindowTree, CloseDestroysByDefaultAndDestroyedHandlesAreInert) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 100, 100}));
  HWND h = w.hwnd();
  SendMessage(h, WM_CLOSE, 0, 0);
  EXPECT_EQ(w.Messages().back(), WM_DESTROY);
  EXPECT_FALSE(ShowWindow(h, SW_SHOW));
  EXPECT_FALSE(DestroyWindow(h));
  EXPECT_FALSE(InvalidateRect(h, nullptr));
  EXPECT_EQ(GetParent(h), 0u);
  Rect r;
  EXPECT_FALSE(GetWindowRect(h, &r));
  EXPECT_EQ(GetWindowText(h), u"");
}

TEST(WindowTree, DeletingAnObjectWhileChildrenLiveDestroysThem) {
  RecordingWindow child;
  auto parent = std::make_unique<RecordingWindow>();
  ASSERT_TRUE(parent->CreateTop(Rect{0, 0, 100, 100}));
  ASSERT_TRUE(child.CreateChild(*parent, Rect{0, 0, 10, 10}, 1));
  HWND ph = parent->hwnd();
  parent.reset();
  EXPECT_FALSE(IsWindow(ph));
  EXPECT_FALSE(child.IsAlive());
  EXPECT_EQ(child.Count(WM_DESTROY), 1);
}

TEST(WindowTree, ActivationTellsTheLosingWindowFirstWithTheOtherHandle) {
  Journal j;
  RecordingWindow a, b;
  ASSERT_TRUE(a.CreateTop(Rect{0, 0, 100, 100}));
  ASSERT_TRUE(b.CreateTop(Rect{0, 0, 100, 100}));
  EXPECT_EQ(GetActiveWindow(), b.hwnd());  // shown last, active
  a.log.clear();
  b.log.clear();
  SetActiveWindow(a.hwnd());
  auto lost = b.Only(WM_ACTIVATE);
  auto won = a.Only(WM_ACTIVATE);
  ASSERT_EQ(lost.size(), 1u);
  ASSERT_EQ(won.size(), 1u);
  EXPECT_EQ(LOWORD(lost[0].wParam), WA_INACTIVE);
  EXPECT_EQ(HWND(lost[0].lParam), a.hwnd());
  EXPECT_EQ(LOWORD(won[0].wParam), WA_ACTIVE);
  EXPECT_EQ(HWND(won[0].lParam), b.hwnd());
  // Activation also moved the focus.
  EXPECT_EQ(GetFocus(), a.hwnd());
  EXPECT_EQ(b.Count(WM_KILLFOCUS), 1);
  EXPECT_EQ(a.Count(WM_SETFOCUS), 1);
  // Order across both windows.
  j.Watch(a, "a", {WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS});
  j.Watch(b, "b", {WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS});
  SetActiveWindow(b.hwnd());
  using E = std::pair<std::string, uint32_t>;
  EXPECT_EQ(j.entries, (std::vector<E>{{"a", WM_ACTIVATE}, {"b", WM_ACTIVATE}, {"a", WM_KILLFOCUS}, {"b", WM_SETFOCUS}}));
}

TEST(WindowTree, DestroyingTheActiveWindowActivatesItsOwnerOrNone) {
  RecordingWindow owner, popup;
  ASSERT_TRUE(owner.CreateTop(Rect{0, 0, 100, 100}));
  WindowParams p;
  p.class_name = u"Popup";
  p.rect = Rect{0, 0, 50, 50};
  p.owner = &owner;
  ASSERT_TRUE(popup.Create(p));
  EXPECT_EQ(GetActiveWindow(), popup.hwnd());
  HWND popup_h = popup.hwnd();
  owner.log.clear();
  popup.Destroy();
  EXPECT_EQ(GetActiveWindow(), owner.hwnd());
  auto got = owner.Only(WM_ACTIVATE);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(HWND(got[0].lParam), popup_h);
  // The last window going leaves no active window: it hears WA_INACTIVE with 0.
  owner.log.clear();
  owner.Destroy();
  EXPECT_EQ(GetActiveWindow(), 0u);
  auto last = owner.Only(WM_ACTIVATE);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(LOWORD(last[0].wParam), WA_INACTIVE);
  EXPECT_EQ(last[0].lParam, 0);
}

TEST(WindowTree, FocusMovesBetweenChildrenWithTheOtherWindow) {
  RecordingWindow top, c1, c2;
  ASSERT_TRUE(top.CreateTop(Rect{0, 0, 100, 100}));
  ASSERT_TRUE(c1.CreateChild(top, Rect{0, 0, 10, 10}, 1));
  ASSERT_TRUE(c2.CreateChild(top, Rect{10, 0, 20, 10}, 2));
  SetFocus(c1.hwnd());
  EXPECT_EQ(SetFocus(c2.hwnd()), c1.hwnd());
  auto kill = c1.Only(WM_KILLFOCUS);
  ASSERT_EQ(kill.size(), 1u);
  EXPECT_EQ(HWND(kill[0].wParam), c2.hwnd());
  auto set = c2.Only(WM_SETFOCUS);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(HWND(set[0].wParam), c1.hwnd());
  // Destroying the focus window leaves no focus and no stale handle.
  c2.Destroy();
  EXPECT_EQ(GetFocus(), 0u);
}

TEST(WindowTree, CaptureIsReleasedWithNoticeAndDiesWithTheWindow) {
  RecordingWindow a, b;
  ASSERT_TRUE(a.CreateTop(Rect{0, 0, 100, 100}));
  ASSERT_TRUE(b.CreateChild(a, Rect{0, 0, 10, 10}, 1));
  EXPECT_EQ(SetCapture(a.hwnd()), 0u);
  EXPECT_EQ(SetCapture(b.hwnd()), a.hwnd());
  auto changed = a.Only(WM_CAPTURECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(HWND(changed[0].lParam), b.hwnd());
  b.Destroy();
  EXPECT_EQ(GetCapture(), 0u);
  SetCapture(a.hwnd());
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), 0u);
  EXPECT_EQ(a.Count(WM_CAPTURECHANGED), 2);
}

TEST(WindowTree, HitTestingFollowsZOrderVisibilityAndParentCoordinates) {
  RecordingWindow bottom, top, child, hidden;
  ASSERT_TRUE(bottom.CreateTop(Rect{0, 0, 200, 200}));
  ASSERT_TRUE(top.CreateTop(Rect{100, 100, 300, 300}));
  ASSERT_TRUE(child.CreateChild(top, Rect{10, 10, 50, 50}, 5));
  ASSERT_TRUE(hidden.CreateChild(top, Rect{0, 0, 200, 200}, 6, false));
  EXPECT_EQ(WindowFromPoint(Point{50, 50}), bottom.hwnd());
  EXPECT_EQ(WindowFromPoint(Point{120, 120}), child.hwnd());
  EXPECT_EQ(WindowFromPoint(Point{105, 105}), top.hwnd());
  bottom.BringToTop();
  EXPECT_EQ(WindowFromPoint(Point{120, 120}), bottom.hwnd());
  EXPECT_EQ(WindowFromPoint(Point{250, 250}), top.hwnd());
  EXPECT_EQ(child.ClientToScreen(Point{1, 2}), (Point{111, 112}));
  EXPECT_EQ(child.ScreenToClient(Point{111, 112}), (Point{1, 2}));
  EXPECT_EQ(GetDlgItem(top.hwnd(), 5), child.hwnd());
  EXPECT_EQ(GetDlgItem(top.hwnd(), 7), 0u);
  EXPECT_EQ(GetParent(child.hwnd()), top.hwnd());
  EXPECT_FALSE(IsWindowVisible(hidden.hwnd()));
  top.Show(false);
  EXPECT_FALSE(IsWindowVisible(child.hwnd()));  // a hidden parent hides its children
  EXPECT_TRUE(child.IsVisibleFlag());
}

TEST(WindowTree, TopMostWindowsStayAboveAndOwnedAboveTheirOwner) {
  RecordingWindow bar, a, b, owned;
  WindowParams p;
  p.class_name = u"Bar";
  p.rect = Rect{0, 0, 480, 52};
  p.top_most = true;
  p.no_activate = true;
  ASSERT_TRUE(bar.Create(p));
  ASSERT_TRUE(a.CreateTop(Rect{0, 0, 480, 800}));
  ASSERT_TRUE(b.CreateTop(Rect{0, 0, 480, 800}));
  WindowParams q;
  q.class_name = u"Owned";
  q.rect = Rect{0, 0, 10, 10};
  q.owner = &a;
  ASSERT_TRUE(owned.Create(q));
  EXPECT_NE(GetActiveWindow(), bar.hwnd());
  a.BringToTop();
  EXPECT_EQ(TopLevelWindows(), (std::vector<HWND>{b.hwnd(), a.hwnd(), owned.hwnd(), bar.hwnd()}));
}

TEST(WindowTree, MovingSendsSizeOnlyWhenTheSizeChanges) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 100, 100}));
  w.log.clear();
  w.Move(Rect{10, 10, 110, 110});
  EXPECT_EQ(w.Count(WM_SIZE), 0);
  EXPECT_EQ(w.Count(WM_MOVE), 1);
  MoveWindow(w.hwnd(), 10, 10, 50, 60);
  auto sizes = w.Only(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lParam), 50);
  EXPECT_EQ(HIWORD(sizes[0].lParam), 60);
  Rect r;
  ASSERT_TRUE(GetClientRect(w.hwnd(), &r));
  EXPECT_EQ(r, (Rect{0, 0, 50, 60}));
}

TEST(WindowTree, TextClassesAndFindWindow) {
  EXPECT_TRUE(RegisterWindowClass(u"Brantel_Test_Class"));
  EXPECT_FALSE(RegisterWindowClass(u"brantel_test_class"));  // names compare without case
  EXPECT_TRUE(IsWindowClassRegistered(u"BRANTEL_TEST_CLASS"));
  UnregisterWindowClass(u"Brantel_Test_Class");
  EXPECT_FALSE(IsWindowClassRegistered(u"Brantel_Test_Class"));

  Window w;
  ASSERT_TRUE(w.Create(u"Finder_Class", u"첫 제목", WS_VISIBLE, Rect{0, 0, 10, 10}));
  EXPECT_EQ(FindWindow(u"Finder_Class", u""), w.hwnd());
  EXPECT_EQ(FindWindow(u"", u"첫 제목"), w.hwnd());
  SetWindowText(w.hwnd(), u"둘째");
  EXPECT_EQ(w.text(), u"둘째");
  EXPECT_EQ(FindWindow(u"Finder_Class", u"첫 제목"), 0u);
  char16_t buf[3];
  EXPECT_EQ(SendMessage(w.hwnd(), WM_GETTEXT, 3, LPARAM(buf)), 2);
  EXPECT_EQ(std::u16string(buf), u"둘째");
  EXPECT_EQ(SendMessage(w.hwnd(), WM_GETTEXT, 2, LPARAM(buf)), 1);  // truncated, terminated
  EXPECT_EQ(std::u16string(buf), u"둘");
  w.Destroy();
  EXPECT_EQ(FindWindow(u"Finder_Class", u""), 0u);
}

TEST(WindowTree, CreateFailsWhenTheCreateHandlerRefuses) {
  RecordingWindow parent, w;
  ASSERT_TRUE(parent.CreateTop(Rect{0, 0, 10, 10}));
  w.on[WM_CREATE] = [](WPARAM, LPARAM) { return LRESULT(-1); };
  EXPECT_FALSE(w.CreateChild(parent, Rect{0, 0, 5, 5}, 1));
  EXPECT_FALSE(w.IsAlive());
  EXPECT_TRUE(parent.children().empty());
  RecordingWindow orphan, dead_parent;
  EXPECT_FALSE(orphan.CreateChild(dead_parent, Rect{0, 0, 5, 5}, 1));
}

TEST(WindowTree, DisabledAndEnabledState) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}));
  EXPECT_FALSE(EnableWindow(w.hwnd(), false));  // it was enabled
  EXPECT_FALSE(IsWindowEnabled(w.hwnd()));
  EXPECT_TRUE(EnableWindow(w.hwnd(), true));
  EXPECT_EQ(w.Count(WM_ENABLE), 2);
}

}  // namespace
}  // namespace brantel
