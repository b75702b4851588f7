// The window's shape as the motion sensor, through the SDL backend on SDL's
// window-less "dummy" video driver (so it runs under ctest): a landscape
// window turns the phone and keeps the side it was turned to, a portrait
// one sets it upright, and a portrait screen in a landscape window is drawn
// in the middle with touch landing where the finger is.
#include <SDL.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/ui/display.h"
#include "platform/ui/motion_sensor.h"
#include "platform/ui/sdl_backend.h"
#include "tests/support/registry_test_support.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;
using testing::RecordingWindow;

class WindowShapeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!StartDisplayWith(MakeSdlBackend(100), false)) GTEST_SKIP() << "SDL could not open a window";
    window_ = SDL_GetWindowFromID(1);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    StopDisplay();
    Drain();
    unsetenv("SDL_VIDEODRIVER");
  }
  // The compositor gives the window another size.
  void Resize(int w, int h) {
    SDL_SetWindowSize(window_, w, h);
    SDL_Event ev{};
    ev.type = SDL_WINDOWEVENT;
    ev.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    ev.window.windowID = SDL_GetWindowID(window_);
    ev.window.data1 = w;
    ev.window.data2 = h;
    SDL_PushEvent(&ev);
    Drain();
  }
  testing::TempDataFolder folder_;
  SDL_Window* window_ = nullptr;
};

TEST_F(WindowShapeTest, LandscapeTurnsThePhoneAndPortraitSetsItUpright) {
  EXPECT_EQ(ReadMotionSensorRotation(), 0);
  Resize(800, 480);
  EXPECT_EQ(ReadMotionSensorRotation(), 90);
  Resize(480, 800);
  EXPECT_EQ(ReadMotionSensorRotation(), 0);
  ASSERT_TRUE(WriteMotionSensorRotation(270));  // turned the other way (F9)
  Resize(900, 500);
  EXPECT_EQ(ReadMotionSensorRotation(), 270);
  Resize(500, 500);  // square: no side to tell
  EXPECT_EQ(ReadMotionSensorRotation(), 270);
  Resize(480, 800);
  EXPECT_EQ(ReadMotionSensorRotation(), 0);
}

TEST_F(WindowShapeTest, PortraitScreenSitsInTheMiddleOfALandscapeWindowAndTouchFollows) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 480, 800}));
  Resize(1600, 800);  // the 480 x 800 screen is drawn at x 560..1040
  SDL_Event down{};
  down.type = SDL_MOUSEBUTTONDOWN;
  down.button.button = SDL_BUTTON_LEFT;
  down.button.windowID = SDL_GetWindowID(window_);
  down.button.x = 560 + 120;
  down.button.y = 600;
  SDL_PushEvent(&down);
  SDL_Event on_bar = down;
  on_bar.button.x = 100;  // on the bar at the left: outside the screen
  SDL_PushEvent(&on_bar);
  Drain();
  const auto downs = w.Only(WM_LBUTTONDOWN);
  ASSERT_GE(downs.size(), 1u);
  EXPECT_NEAR(GET_X_LPARAM(downs[0].lParam), 120, 2);
  EXPECT_NEAR(GET_Y_LPARAM(downs[0].lParam), 600, 2);
  EXPECT_EQ(downs.size(), 1u);
}

}  // namespace
}  // namespace brantel
