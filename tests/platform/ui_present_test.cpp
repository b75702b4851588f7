// Drawing to the presented screen from an animation thread while the window
// thread is blocked, and CopyScreen leaving the next presentation due.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/present.h"
#include "platform/ui/screen.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;

struct Filled : Window {
  COLORREF color = RGB(0, 0, 0);
  LRESULT WindowProc(uint32_t m, WPARAM w, LPARAM l) override {
    if (m == WM_PAINT) {
      PaintScope p(*this);
      p.dc().FillSolid(ClientRect(), color);
      return 0;
    }
    return Window::WindowProc(m, w, l);
  }
};

class Present : public ::testing::Test {
 protected:
  void SetUp() override {
    auto backend = std::make_unique<HeadlessBackend>();
    backend_ = backend.get();
    ASSERT_TRUE(StartDisplayWith(std::move(backend), false));
  }
  void TearDown() override {
    StopDisplay();
    Drain();
  }
  void Settle() {
    for (int i = 0; i < 5; ++i) {
      Drain();
      WaitMessage(5);
    }
  }
  HeadlessBackend* backend_ = nullptr;
};

TEST_F(Present, AThreadDrawsAndPresentsWhileTheWindowThreadIsBlocked) {
  Filled top;
  ASSERT_TRUE(top.Create(u"Top", u"", WS_VISIBLE, Rect{0, 52, 480, 800}));
  Filled child;
  ASSERT_TRUE(child.Create(u"Child", u"", WS_VISIBLE, Rect{100, 100, 200, 200}, &top, 1));
  Settle();
  const int before = backend_->present_count();
  const uint32_t red = ColorRefToPixel(RGB(255, 0, 0));
  bool drawn = false;
  // The window thread does nothing but wait for the thread: no paint, no idle.
  std::thread animator([&] {
    drawn = DrawAndPresent(child.hwnd(), Rect{0, 0, 500, 500},
                           [&](DeviceContext& dc) { dc.FillSolid(Rect{0, 0, 500, 500}, RGB(255, 0, 0)); });
  });
  animator.join();
  EXPECT_TRUE(drawn);
  EXPECT_EQ(backend_->present_count(), before + 1);
  Surface shown = backend_->PresentedCopy();
  EXPECT_EQ(shown.at(150, 202), red);                       // the child's area, on screen
  EXPECT_NE(shown.at(99, 202), red);                        // clipped to the child
  EXPECT_NE(shown.at(150, 253), red);
  // Hidden or gone windows draw nothing.
  child.Show(false);
  EXPECT_FALSE(DrawAndPresent(child.hwnd(), Rect{0, 0, 10, 10}, [](DeviceContext&) { ADD_FAILURE(); }));
  HWND gone = child.hwnd();
  child.Destroy();
  EXPECT_FALSE(DrawAndPresent(gone, Rect{0, 0, 10, 10}, [](DeviceContext&) { ADD_FAILURE(); }));
}

TEST_F(Present, CopyScreenLeavesTheNewPictureToBePresented) {
  Filled top;
  top.color = RGB(0, 0, 255);
  ASSERT_TRUE(top.Create(u"Top", u"", WS_VISIBLE, Rect{0, 52, 480, 800}));
  Settle();
  top.color = RGB(0, 255, 0);
  top.Invalidate();
  top.Update();          // painted: the screen is due
  Surface copy;
  CopyScreen(copy);      // a dialog reads the screen before the display presented it
  EXPECT_EQ(copy.at(10, 400), ColorRefToPixel(RGB(0, 255, 0)));
  Settle();
  EXPECT_EQ(backend_->PresentedCopy().at(10, 400), ColorRefToPixel(RGB(0, 255, 0)));
}

}  // namespace
}  // namespace brantel
