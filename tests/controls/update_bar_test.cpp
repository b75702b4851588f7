// The update bar: one animation thread however often a refresh begins, a
// prompt stop at the end and when the object is deleted, and what it paints.

#include "controls/update_bar_wnd.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "controls/image_drawing.h"
#include "controls/update_bar_drawing.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/app_messages.h"

namespace brantel {
namespace {

using Clock = std::chrono::steady_clock;

// Threads of this process, as the system counts them.
int ThreadCount() {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++n;
  return n;
}

// The count once exited threads have left the task list: a joined thread
// can linger there a moment after the join returns.
int SettledThreadCount(int expected) {
  const auto start = Clock::now();
  int n = ThreadCount();
  while (n != expected && Clock::now() - start < std::chrono::seconds(1)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    n = ThreadCount();
  }
  return n;
}

class Host : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      Validate();
      return 0;
    }
    return DefWindowProc(message, wParam, lParam);
  }
};

constexpr int kTop = 200;  // the bar's top on the screen

class UpdateBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = ResourceLibrary::Load(BRANTEL_BIN_DIR "/stock_resource.so");
    ASSERT_TRUE(library_);
    SetProcessResourcesForTesting(library_);
    ASSERT_TRUE(host_.Create(u"TestHost", u"", WS_VISIBLE, Rect::FromSize(0, kTop, 480, 40)));
  }
  void TearDown() override {
    host_.Destroy();
    SetProcessResourcesForTesting(nullptr);
  }
  static Surface Screen() {
    PumpPendingMessages();
    Surface screen;
    CopyScreen(screen);
    return screen;
  }

  ResourceLibraryRef library_;
  Host host_;
};

TEST_F(UpdateBarTest, OneThreadPerRefreshStoppedAtTheEndAndOnDeletion) {
  CUpdateBarWnd bar;
  ASSERT_TRUE(bar.Create(Rect{0, 0, 480, 40}, &host_, 7, 4000));
  PumpPendingMessages();
  const int before = ThreadCount();

  bar.Send(WM_LIST_UPDATE_BEGIN, 2, 0);
  bar.Send(WM_LIST_UPDATE_BEGIN, 2, 0);
  EXPECT_TRUE(bar.Running());
  EXPECT_EQ(ThreadCount(), before + 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_GE(bar.frame(), 0);
  EXPECT_LT(bar.frame(), kUpdateBarFrameCount);

  const auto start = Clock::now();
  bar.Send(WM_LIST_UPDATE_END, 2, 1);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  EXPECT_FALSE(bar.Running());
  EXPECT_EQ(bar.frame(), kUpdateBarIdleFrame);
  EXPECT_EQ(SettledThreadCount(before), before);

  // Deleted while animating, without WM_DESTROY: the thread ends first.
  auto deleted = std::make_unique<CUpdateBarWnd>();
  ASSERT_TRUE(deleted->Create(Rect{0, 0, 480, 40}, &host_, 7, 4001));
  deleted->Send(WM_LIST_UPDATE_BEGIN, 3, 0);
  EXPECT_EQ(ThreadCount(), before + 1);
  deleted.reset();
  EXPECT_EQ(SettledThreadCount(before), before);
  Screen();  // nothing left behind asks for the deleted window

  // Destroyed with WM_DESTROY while animating.
  bar.Send(WM_LIST_UPDATE_BEGIN, 2, 0);
  bar.Destroy();
  EXPECT_FALSE(bar.Running());
  EXPECT_EQ(SettledThreadCount(before), before);
}

TEST_F(UpdateBarTest, PaintsTheUpdateTextRightAlignedAndABlackSquareWhenIdle) {
  EXPECT_EQ(UpdateBarText(u"26/12/07 09:41:05"), u"Updated : 12/07 09:41");
  EXPECT_EQ(UpdateBarText(u"26/"), u"Updated : ");
  EXPECT_EQ(NextUpdateBarFrame(-1), 0);
  EXPECT_EQ(NextUpdateBarFrame(6), 7);
  EXPECT_EQ(NextUpdateBarFrame(7), 0);  // pictures 1035 to 1042 only

  CUpdateBarWnd bar;
  ASSERT_TRUE(bar.Create(Rect{0, 0, 480, 40}, &host_, 7, 4000));
  bar.SetLastUpdate(u"26/12/07 09:41:05");
  const Surface screen = Screen();

  // The bar without its text: background and logo.
  Surface plain(480, 40);
  DeviceContext dc(plain);
  DrawResourcePicture(dc, 0, 0, 480, 40, library_, 1019);
  DrawResourcePicture(dc, 3, 0, 220, 40, library_, 1098);

  // Where the screen differs from it left of the animation is the text.
  Rect text{480, 40, 0, 0};
  int text_colour_pixels = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 440; ++x) {
      if (screen.at(x, kTop + y) == plain.at(x, y)) continue;
      text = Rect{std::min(text.left, x), std::min(text.top, y), std::max(text.right, x + 1), std::max(text.bottom, y + 1)};
      text_colour_pixels += PixelToColorRef(screen.at(x, kTop + y)) == kUpdateBarTextColor;
    }
  EXPECT_GT(text_colour_pixels, 0);
  EXPECT_GE(text.left, 230);
  EXPECT_LE(text.right, 430);
  EXPECT_GE(text.right, 425);  // right-aligned
  EXPECT_GE(text.top, 5);
  EXPECT_LE(text.bottom, 35);
  EXPECT_LE(std::abs((text.top + text.bottom) - 40), 6);  // centred vertically

  // Idle: the 30 x 30 square at x 440, centred, is black.
  int black = 0;
  for (int y = 5; y < 35; ++y)
    for (int x = 440; x < 470; ++x) black += PixelToColorRef(screen.at(x, kTop + y)) == 0;
  EXPECT_EQ(black, 900);

  // Animating: a frame's picture replaces the black square.
  bar.Send(WM_LIST_UPDATE_BEGIN, 2, 0);
  const Surface animating = Screen();
  black = 0;
  for (int y = 5; y < 35; ++y)
    for (int x = 440; x < 470; ++x) black += PixelToColorRef(animating.at(x, kTop + y)) == 0;
  EXPECT_LT(black, 900);
  bar.Destroy();
}

}  // namespace
}  // namespace brantel
