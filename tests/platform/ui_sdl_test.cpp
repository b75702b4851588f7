// The SDL2 backend, run when a display is there (under ctest there is none
// and the test is skipped; run it with xvfb-run). Events are pushed into
// SDL's queue as the desktop would deliver them.

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <thread>

#include "platform/ui/clipboard.h"
#include "platform/ui/display.h"
#include "platform/ui/edit.h"
#include "platform/ui/letterbox.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/present.h"
#include "platform/ui/sdl_backend.h"
#include "platform/ui/shell.h"
#include "platform/ui/soft_key_bar.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;
using testing::RecordingWindow;

class Sdl : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no display";
    if (!StartDisplayWith(MakeSdlBackend(100), false)) GTEST_SKIP() << "SDL could not open a window";
  }
  void TearDown() override {
    StopDisplay();
    Drain();
  }
  void Push(SDL_Event ev) {
    ev.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&ev);
  }
  // What an input method sends: the syllable being composed, and a finished one.
  void PushEditing(const char* text) {
    SDL_Event e{};
    e.type = SDL_TEXTEDITING;
    SDL_strlcpy(e.edit.text, text, sizeof(e.edit.text));
    Push(e);
  }
  void PushInput(const char* text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    SDL_strlcpy(e.text.text, text, sizeof(e.text.text));
    Push(e);
  }
};

TEST_F(Sdl, MouseActsAsTheFingerAndKeysMapToTheDevicesKeys) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 480, 800}));
  Drain();
  int ww = 0, wh = 0;
  SDL_Window* win = SDL_GetWindowFromID(1);
  ASSERT_NE(win, nullptr);
  SDL_GetWindowSize(win, &ww, &wh);
  SDL_Event down{};
  down.type = SDL_MOUSEBUTTONDOWN;
  down.button.button = SDL_BUTTON_LEFT;
  down.button.windowID = SDL_GetWindowID(win);
  down.button.x = ww / 2;
  down.button.y = wh / 4;
  Push(down);
  SDL_Event up = down;
  up.type = SDL_MOUSEBUTTONUP;
  Push(up);
  SDL_Event esc{};
  esc.type = SDL_KEYDOWN;
  esc.key.keysym.sym = SDLK_ESCAPE;
  Push(esc);
  SDL_Event end = esc;
  end.key.keysym.sym = SDLK_F4;
  Push(end);
  Drain();
  auto downs = w.Only(WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_NEAR(GET_X_LPARAM(downs[0].lParam), 240, 2);
  EXPECT_NEAR(GET_Y_LPARAM(downs[0].lParam), 200, 2);
  EXPECT_EQ(w.Count(WM_LBUTTONUP), 1);
  auto keys = w.Only(WM_KEYDOWN);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].wParam, VK_TBACK);
  EXPECT_EQ(keys[1].wParam, VK_TEND);
}

TEST_F(Sdl, FullScreenFingerMapsThroughTheBarsAndTheInputPanelStartsTextInput) {
  StopDisplay();
  ASSERT_TRUE(StartDisplayWith(MakeSdlBackend(100, true), false));
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 480, 800}));
  Drain();
  SDL_Window* win = nullptr;  // the newest window: ids grow from one test to the next
  for (uint32_t id = 1; id < 100; ++id) win = SDL_GetWindowFromID(id) ? SDL_GetWindowFromID(id) : win;
  ASSERT_NE(win, nullptr);
  EXPECT_TRUE(SDL_GetWindowFlags(win) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  int ww = 0, wh = 0;
  SDL_GetWindowSize(win, &ww, &wh);
  const Rect box = LetterboxRect(ww, wh, 480, 800);
  // The finger comes as a fraction of the window.
  auto finger = [&](uint32_t type, SDL_FingerID id, double sx, double sy) {
    SDL_Event ev{};
    ev.type = type;
    ev.tfinger.fingerId = id;
    ev.tfinger.x = float((box.left + sx * box.Width() / 480) / ww);
    ev.tfinger.y = float((box.top + sy * box.Height() / 800) / wh);
    Push(ev);
  };
  finger(SDL_FINGERDOWN, 7, 120, 600);
  finger(SDL_FINGERDOWN, 8, 400, 100);  // a second finger does not act
  finger(SDL_FINGERMOTION, 7, 130, 610);
  finger(SDL_FINGERUP, 7, 130, 610);
  finger(SDL_FINGERUP, 8, 400, 100);
  Drain();
  auto downs = w.Only(WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_NEAR(GET_X_LPARAM(downs[0].lParam), 120, 2);
  EXPECT_NEAR(GET_Y_LPARAM(downs[0].lParam), 600, 2);
  auto ups = w.Only(WM_LBUTTONUP);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_NEAR(GET_X_LPARAM(ups[0].lParam), 130, 2);
  EXPECT_NEAR(GET_Y_LPARAM(ups[0].lParam), 610, 2);

  // What the display shows: the screen in the box, black bars beside it.
  w.on[WM_PAINT] = [&](WPARAM, LPARAM) -> LRESULT {
    PaintScope paint(w);
    paint.dc().FillSolid(Rect{0, 0, 480, 800}, RGB(255, 255, 255));
    return 0;
  };
  w.Invalidate();
  Drain();
  SDL_Renderer* renderer = SDL_GetRenderer(win);
  auto shown = [&](int x, int y) {
    uint32_t pixel = 0;
    const SDL_Rect at{x, y, 1, 1};
    SDL_RenderReadPixels(renderer, &at, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
    return pixel & 0xFFFFFF;
  };
  if (box.left > 0) {
    EXPECT_EQ(shown(box.left / 2, wh / 2), 0u) << "the bar beside the screen";
  }
  EXPECT_EQ(shown(box.left + box.Width() / 2, box.top + box.Height() / 2), 0xFFFFFFu);

  // The input panel brings the on-screen keyboard: SDL text input.
  SetInputPanel(true);
  EXPECT_TRUE(SDL_IsTextInputActive());
  SetInputPanel(false);
  EXPECT_FALSE(SDL_IsTextInputActive());
}

TEST_F(Sdl, WheelGoesToTheWindowUnderTheMouse) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 480, 800}));
  SDL_Window* win = SDL_GetWindowFromID(1);
  ASSERT_NE(win, nullptr);
  int ww = 0, wh = 0;
  SDL_GetWindowSize(win, &ww, &wh);
  SDL_WarpMouseInWindow(win, ww / 2, wh / 2);
  Drain();
  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.windowID = SDL_GetWindowID(win);
  wheel.wheel.y = -2;  // two notches towards the user
  Push(wheel);
  Drain();
  auto turns = w.Only(WM_MOUSEWHEEL);
  ASSERT_EQ(turns.size(), 1u);
  EXPECT_EQ(int16_t(HIWORD(turns[0].wParam)), -2 * WHEEL_DELTA);
  EXPECT_EQ(w.Count(WM_MOUSEHWHEEL), 0);
}

TEST_F(Sdl, CompositionBecomesImeMessagesAndTheFinishedCharacter) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 480, 800}));
  SetFocus(w.hwnd());
  Drain();
  w.log.clear();
  PushEditing("ㅎ");
  PushEditing("하");
  PushEditing("한");
  PushInput("한");
  PushEditing("");
  PushInput("a");
  Drain();
  EXPECT_EQ(w.Count(WM_IME_STARTCOMPOSITION), 1);
  EXPECT_EQ(w.Count(WM_IME_ENDCOMPOSITION), 1);
  auto chars = w.Only(WM_CHAR);
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].wParam, WPARAM(u'한'));
  EXPECT_EQ(chars[1].wParam, WPARAM(u'a'));
}

TEST_F(Sdl, SoftKeysAndAnAnimationThreadPresentingInTheWindow) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 480, 800}));
  ResourceMenu menu = {{u"왼쪽", 11, false, false, {}}, {u"오른쪽", 12, false, false, {}}};
  SoftKeyBar bar;
  ASSERT_TRUE(bar.Create(w, w.hwnd(), menu, false));
  Drain();
  for (SDL_Keycode key : {SDLK_F1, SDLK_F2}) {
    SDL_Event ev{};
    ev.type = SDL_KEYDOWN;
    ev.key.keysym.sym = key;
    Push(ev);
  }
  Drain();
  auto commands = w.Only(WM_COMMAND);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].wParam, 11u);
  EXPECT_EQ(commands[1].wParam, 12u);
  // A thread presents while this one is blocked in join.
  bool drawn = false;
  std::thread animator([&] {
    for (int i = 0; i < 5; ++i)
      drawn = DrawAndPresent(w.hwnd(), Rect{0, 0, 100, 100},
                             [&](DeviceContext& dc) { dc.FillSolid(Rect{0, 0, 100, 100}, RGB(uint8_t(i * 50), 0, 0)); });
  });
  animator.join();
  EXPECT_TRUE(drawn);
  bar.Destroy();
}

TEST_F(Sdl, KoreanTypedThroughTheInputMethodReachesAnEditAndTheClipboardIsTheDesktops) {
  RecordingWindow top;
  ASSERT_TRUE(top.CreateTop(Rect{0, 0, 480, 800}));
  EditControl edit;
  ASSERT_TRUE(edit.Create(u"", WS_VISIBLE, Rect{20, 100, 460, 140}, &top, 5));
  SetFocus(edit.hwnd());
  Drain();
  // An input method commits a syllable when the next one begins.
  PushEditing("ㅎ");
  PushEditing("하");
  PushEditing("한");
  PushInput("한");
  PushEditing("ㄱ");
  PushEditing("구");
  Drain();
  EXPECT_EQ(edit.model().text(), u"한");
  EXPECT_EQ(edit.model().composition(), u"구");
  PushEditing("국");
  PushInput("국");
  PushEditing("");
  Drain();
  EXPECT_EQ(edit.model().text(), u"한국");
  EXPECT_TRUE(edit.model().composition().empty());
  EXPECT_EQ(top.Count(WM_COMMAND), 2);  // EN_CHANGE per finished syllable

  edit.Send(EM_SETSEL, 0, -1);
  edit.Send(WM_COPY);
  char* desktop = SDL_GetClipboardText();
  EXPECT_STREQ(desktop, "한국");
  SDL_free(desktop);
  SDL_SetClipboardText("삼성");
  edit.Send(WM_PASTE);
  EXPECT_EQ(edit.model().text(), u"삼성");
  edit.Destroy();
}

// Runs without a display too: SDL is given a video driver that does not exist.
TEST(SdlFallback, AWindowThatCannotOpenLeavesTheProgramHeadlessAndSaysSo) {
  const char* before = std::getenv("SDL_VIDEODRIVER");
  const std::string kept = before ? before : "";
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  DisplayOptions options;
  options.kind = DisplayKind::kSdl;
  options.system_bar = false;
  ::testing::internal::CaptureStderr();
  const bool started = StartDisplay(options);
  const std::string said = ::testing::internal::GetCapturedStderr();
  StopDisplay();
  Drain();
  if (before) {
    setenv("SDL_VIDEODRIVER", kept.c_str(), 1);
  } else {
    unsetenv("SDL_VIDEODRIVER");
  }
  EXPECT_TRUE(started);
  EXPECT_NE(said.find("display: no window could be opened, running headless"), std::string::npos) << said;
}

}  // namespace
}  // namespace brantel
