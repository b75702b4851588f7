// Painting: windows draw on their top-level backing surface, clipped to what
// is visible of them; top-level windows compose in z-order; invalidation
// spreads to the windows that must draw again.

#include <gtest/gtest.h>

#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;

class SolidWindow : public Window {
 public:
  explicit SolidWindow(COLORREF color) : color_(color) {}
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      ++paints;
      PaintScope paint(*this);
      last_dirty = paint.dirty();
      // Draws far beyond its own client: the clip must hold it in.
      paint.dc().FillSolid(Rect{-1000, -1000, 1000, 1000}, color_);
      return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
  }
  int paints = 0;
  Rect last_dirty;

 private:
  COLORREF color_;
};

uint32_t ScreenPixel(int x, int y) {
  Surface s;
  CopyScreen(s);
  return s.at(x, y);
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(Paint, ChildrenDrawClippedToTheirParentOnTheComposedScreen) {
  SolidWindow top(kRed), child(kGreen), grandchild(kBlue);
  ASSERT_TRUE(top.Create(u"T", u"", WS_VISIBLE, Rect{100, 100, 200, 200}));
  ASSERT_TRUE(child.Create(u"C", u"", WS_VISIBLE | WS_CHILD, Rect{50, 50, 150, 150}, &top, 1));
  ASSERT_TRUE(grandchild.Create(u"G", u"", WS_VISIBLE | WS_CHILD, Rect{-10, -10, 10, 10}, &child, 2));
  Drain();
  EXPECT_EQ(ScreenPixel(99, 99), 0xFF000000u);                   // nothing there
  EXPECT_EQ(ScreenPixel(100, 100), ColorRefToPixel(kRed));       // the top-level
  EXPECT_EQ(ScreenPixel(170, 170), ColorRefToPixel(kGreen));     // the child
  EXPECT_EQ(ScreenPixel(155, 155), ColorRefToPixel(kBlue));      // grandchild, inside the child
  EXPECT_EQ(ScreenPixel(145, 145), ColorRefToPixel(kRed));       // grandchild clipped by the child
  EXPECT_EQ(ScreenPixel(200, 200), 0xFF000000u);                 // child clipped by the top-level
}

TEST(Paint, ParentRepaintCoversChildrenWhichPaintAgainOnTop) {
  SolidWindow top(kRed), child(kGreen);
  ASSERT_TRUE(top.Create(u"T", u"", WS_VISIBLE, Rect{0, 0, 100, 100}));
  ASSERT_TRUE(child.Create(u"C", u"", WS_VISIBLE | WS_CHILD, Rect{10, 10, 30, 30}, &top, 1));
  Drain();
  int child_paints = child.paints;
  Rect part{0, 0, 15, 15};
  top.Invalidate(&part);
  Drain();
  EXPECT_EQ(child.paints, child_paints + 1);
  EXPECT_EQ(child.last_dirty, (Rect{0, 0, 5, 5}));  // only the part that was covered
  EXPECT_EQ(ScreenPixel(12, 12), ColorRefToPixel(kGreen));
  // A parent that clips its children leaves them alone.
  SolidWindow clipping(kBlue), inner(kGreen);
  ASSERT_TRUE(clipping.Create(u"T", u"", WS_VISIBLE | WS_CLIPCHILDREN, Rect{200, 0, 300, 100}));
  ASSERT_TRUE(inner.Create(u"C", u"", WS_VISIBLE | WS_CHILD, Rect{0, 0, 10, 10}, &clipping, 1));
  Drain();
  int inner_paints = inner.paints;
  clipping.Invalidate();
  Drain();
  EXPECT_EQ(inner.paints, inner_paints);
}

TEST(Paint, ChildInvalidationRepaintsOverlappingSiblingsAbove) {
  SolidWindow top(kRed), lower(kGreen), upper(kBlue), apart(kGreen);
  ASSERT_TRUE(top.Create(u"T", u"", WS_VISIBLE, Rect{0, 0, 100, 100}));
  ASSERT_TRUE(lower.Create(u"L", u"", WS_VISIBLE | WS_CHILD, Rect{0, 0, 50, 50}, &top, 1));
  ASSERT_TRUE(upper.Create(u"U", u"", WS_VISIBLE | WS_CHILD, Rect{25, 25, 75, 75}, &top, 2));
  ASSERT_TRUE(apart.Create(u"A", u"", WS_VISIBLE | WS_CHILD, Rect{80, 80, 90, 90}, &top, 3));
  Drain();
  int upper_paints = upper.paints, apart_paints = apart.paints, top_paints = top.paints;
  lower.Invalidate();
  Drain();
  EXPECT_EQ(upper.paints, upper_paints + 1);
  EXPECT_EQ(apart.paints, apart_paints);
  EXPECT_EQ(top.paints, top_paints);
  EXPECT_EQ(ScreenPixel(30, 30), ColorRefToPixel(kBlue));
  EXPECT_EQ(ScreenPixel(10, 10), ColorRefToPixel(kGreen));
}

TEST(Paint, TopLevelWindowsComposeInZOrderAndHiddenOnesAreLeftOut) {
  SolidWindow a(kRed), b(kGreen);
  ASSERT_TRUE(a.Create(u"A", u"", WS_VISIBLE, Rect{0, 0, 100, 100}));
  ASSERT_TRUE(b.Create(u"B", u"", WS_VISIBLE, Rect{50, 50, 150, 150}));
  Drain();
  EXPECT_EQ(ScreenPixel(60, 60), ColorRefToPixel(kGreen));
  a.BringToTop();
  EXPECT_EQ(ScreenPixel(60, 60), ColorRefToPixel(kRed));
  a.Show(false);
  EXPECT_EQ(ScreenPixel(60, 60), ColorRefToPixel(kGreen));
  EXPECT_EQ(ScreenPixel(10, 10), 0xFF000000u);
  // Hidden windows get no WM_PAINT; showing them paints.
  int before = a.paints;
  a.Invalidate();
  Drain();
  EXPECT_EQ(a.paints, before);
  a.Show(true);
  Drain();
  EXPECT_EQ(a.paints, before + 1);
}

TEST(Paint, ADialogReadsBackWhatLiesBehindIt) {
  SolidWindow below(kRed), dialog(kBlue), above(kGreen);
  ASSERT_TRUE(below.Create(u"B", u"", WS_VISIBLE, Rect{0, 0, 100, 100}));
  ASSERT_TRUE(dialog.Create(u"D", u"", WS_VISIBLE, Rect{0, 0, 100, 100}));
  ASSERT_TRUE(above.Create(u"A", u"", WS_VISIBLE, Rect{50, 50, 100, 100}));
  Drain();
  Surface behind;
  CopyScreenBelow(dialog.hwnd(), behind);
  EXPECT_EQ(behind.at(10, 10), ColorRefToPixel(kRed));
  EXPECT_EQ(behind.at(60, 60), ColorRefToPixel(kRed));  // windows above it are left out too
  CopyScreenBelow(0, behind);
  EXPECT_EQ(behind.at(10, 10), ColorRefToPixel(kBlue));
  EXPECT_EQ(behind.at(60, 60), ColorRefToPixel(kGreen));
}

TEST(Paint, DrawScopeDrawsOutsidePaintAndKeepsTheInvalidPart) {
  SolidWindow w(kRed);
  ASSERT_TRUE(w.Create(u"W", u"", WS_VISIBLE, Rect{0, 0, 20, 20}));
  Drain();
  Rect r{0, 0, 5, 5};
  w.Invalidate(&r);
  {
    DrawScope draw(w);
    EXPECT_TRUE(draw.visible());
    EXPECT_EQ(draw.dirty(), w.ClientRect());
    draw.dc().FillSolid(Rect{0, 0, 20, 20}, kBlue);
  }
  EXPECT_TRUE(w.HasUpdate());
  EXPECT_EQ(ScreenPixel(10, 10), ColorRefToPixel(kBlue));
  Drain();
  EXPECT_EQ(ScreenPixel(2, 2), ColorRefToPixel(kRed));
  EXPECT_EQ(ScreenPixel(10, 10), ColorRefToPixel(kBlue));
  w.Show(false);
  DrawScope hidden(w);
  EXPECT_FALSE(hidden.visible());
  hidden.dc().FillSolid(Rect{0, 0, 20, 20}, kGreen);  // harmless
}

TEST(Paint, ResizingATopLevelResizesItsSurfaceAndRepaints) {
  SolidWindow w(kRed);
  ASSERT_TRUE(w.Create(u"W", u"", WS_VISIBLE, Rect{0, 0, 20, 20}));
  Drain();
  w.Move(Rect{0, 0, 60, 40});
  Drain();
  EXPECT_EQ(ScreenPixel(59, 39), ColorRefToPixel(kRed));
  EXPECT_EQ(ScreenPixel(60, 39), 0xFF000000u);
}

}  // namespace
}  // namespace brantel
