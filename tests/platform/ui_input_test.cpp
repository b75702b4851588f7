// Input on the headless display: scripted taps, moves with their coalesced
// points, tap-and-hold, keys, text and composition, capture, modal owners,
// screenshots, the system bar and the screen orientation.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <filesystem>

#include "platform/folders.h"
#include "platform/ui/dialog.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/input_router.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/pointer.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "platform/ui/shell.h"
#include "platform/ui/window_dump.h"
#include "tests/support/ui_test_support.h"

namespace brantel {
namespace {

using testing::Drain;
using testing::Received;
using testing::RecordingWindow;

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    auto backend = std::make_unique<HeadlessBackend>();
    backend_ = backend.get();
    ASSERT_TRUE(StartDisplayWith(std::move(backend), true));
  }
  void TearDown() override {
    SetDisplayOrientation(0);
    SetInputPanel(false);
    StopDisplay();
    Drain();
  }
  HeadlessBackend* backend_ = nullptr;
};

Point At(const Received& r) { return Point{GET_X_LPARAM(r.lParam), GET_Y_LPARAM(r.lParam)}; }

TEST_F(Input, TapArrivesInClientCoordinatesAndActivatesTheWindow) {
  RecordingWindow a, b, child;
  ASSERT_TRUE(a.CreateTop(Rect{0, 100, 240, 400}));
  ASSERT_TRUE(b.CreateTop(Rect{240, 100, 480, 400}));
  ASSERT_TRUE(child.CreateChild(a, Rect{20, 20, 120, 120}, 3));
  EXPECT_EQ(GetActiveWindow(), b.hwnd());
  InputScript script;
  script.Tap(50, 150).Idle();
  ASSERT_TRUE(PlayScript(script));
  auto down = child.Only(WM_LBUTTONDOWN);
  auto up = child.Only(WM_LBUTTONUP);
  ASSERT_EQ(down.size(), 1u);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(At(down[0]), (Point{30, 30}));
  EXPECT_EQ(down[0].wParam, MK_LBUTTON);
  EXPECT_EQ(GetActiveWindow(), a.hwnd());
  EXPECT_EQ(a.Count(WM_LBUTTONDOWN), 0);  // the deepest window got it, not the parent
}

TEST_F(Input, MovesCoalesceAndKeepTheirPointsInQuarterPixels) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 100, 480, 800}));
  std::vector<Point> points;
  w.on[WM_MOUSEMOVE] = [&](WPARAM, LPARAM) {
    Point buf[kMaxMouseMovePoints];
    uint32_t n = 0;
    if (GetMouseMovePoints(buf, kMaxMouseMovePoints, &n)) points.assign(buf, buf + n);
    return LRESULT(0);
  };
  RoutePointer(PointerAction::kDown, 10, 200);
  Drain();
  RoutePointer(PointerAction::kMove, 10.25, 210);
  RoutePointer(PointerAction::kMove, 10.5, 220.75);
  RoutePointer(PointerAction::kMove, 11, 230);
  Drain();
  auto moves = w.Only(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);                  // three moves, one message
  EXPECT_EQ(At(moves[0]), (Point{11, 130}));    // the latest position
  EXPECT_EQ(points, (std::vector<Point>{{41, 840}, {42, 883}, {44, 920}}));
  // More than 100 points in one message keep the latest 100.
  for (int i = 0; i < 150; ++i) RoutePointer(PointerAction::kMove, 20, 300 + i);
  Drain();
  ASSERT_EQ(points.size(), size_t(kMaxMouseMovePoints));
  EXPECT_EQ(points.back(), (Point{80, 4 * 449}));
  RoutePointer(PointerAction::kUp, 20, 449);
  Drain();
  // A finger that is up does not hover.
  RoutePointer(PointerAction::kMove, 30, 300);
  Drain();
  EXPECT_EQ(w.Count(WM_MOUSEMOVE), 2);
}

TEST_F(Input, ScriptedMovesWithoutDelayCoalesceAndKeepTheirPoints) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 52, 480, 800}));
  std::vector<std::vector<Point>> batches;
  w.on[WM_MOUSEMOVE] = [&](WPARAM, LPARAM) {
    Point buf[kMaxMouseMovePoints];
    uint32_t n = 0;
    GetMouseMovePoints(buf, kMaxMouseMovePoints, &n);
    batches.emplace_back(buf, buf + n);
    return LRESULT(0);
  };
  std::vector<ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(ParseScript("press 100 400\n"
                          "move 100 390.5 16\n"
                          "move 100 380.25\n"
                          "move 100 370\n"
                          "move 100 360 16\n"
                          "release\n"
                          "idle\n",
                          steps, error));
  InputScript s;
  s.steps() = steps;
  ASSERT_TRUE(PlayScript(s));
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(batches[0], (std::vector<Point>{{400, 1562}, {400, 1521}, {400, 1480}}));
  EXPECT_EQ(batches[1], (std::vector<Point>{{400, 1440}}));
  auto moves = w.Only(WM_MOUSEMOVE);
  EXPECT_EQ(At(moves[0]), (Point{100, 370 - 52}));
}

TEST_F(Input, TapAndHoldIsRecognisedOnlyWhenHeldStill) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 52, 480, 800}));
  std::vector<uint32_t> results;
  w.on[WM_LBUTTONDOWN] = [&](WPARAM, LPARAM lp) {
    Point screen = w.ClientToScreen(Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    results.push_back(RecognizeTapAndHold(w.hwnd(), screen, TAPHOLD_RETURN_COMMAND));
    return LRESULT(0);
  };
  InputScript held, released, moved, jitter;
  held.Press(100, 300).Hold(650).Release().Idle();
  released.Press(100, 300).Wait(100).Release().Idle();
  moved.Press(100, 300).Move(100, 340, 100).Release().Idle();
  jitter.Press(100, 300).Move(102, 301, 100).Move(101, 299, 100).Hold(450).Release().Idle();
  ASSERT_TRUE(PlayScript(held));
  ASSERT_TRUE(PlayScript(released));
  ASSERT_TRUE(PlayScript(moved));
  ASSERT_TRUE(PlayScript(jitter));
  EXPECT_EQ(results, (std::vector<uint32_t>{GESTURE_CONTEXT_MENU, 0, 0, GESTURE_CONTEXT_MENU}));
  // The release that ended a short press still reached the window.
  EXPECT_EQ(w.Count(WM_LBUTTONUP), 4);
}

TEST_F(Input, TapAndHoldWithoutReturnCommandSendsTheContextMenuMessage) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 52, 480, 800}));
  w.on[WM_LBUTTONDOWN] = [&](WPARAM, LPARAM) {
    RecognizeTapAndHold(w.hwnd(), Point{50, 100}, 0);
    return LRESULT(0);
  };
  InputScript s;
  s.Press(50, 100).Hold(600).Release().Idle();
  ASSERT_TRUE(PlayScript(s));
  auto menu = w.Only(WM_CONTEXTMENU);
  ASSERT_EQ(menu.size(), 1u);
  EXPECT_EQ(At(menu[0]), (Point{50, 100}));
}

TEST_F(Input, KeysTextAndCompositionGoToTheFocusWindow) {
  RecordingWindow top, edit;
  ASSERT_TRUE(top.CreateTop(Rect{0, 52, 480, 800}));
  ASSERT_TRUE(edit.CreateChild(top, Rect{0, 0, 100, 40}, 1));
  SetFocus(edit.hwnd());
  Drain();
  edit.log.clear();
  InputScript s;
  s.Key(VK_TBACK).Text(u"a1").Compose({u'ㅎ', u'하', u'한'}, u"한").Idle();
  ASSERT_TRUE(PlayScript(s));
  std::vector<uint32_t> expected{WM_KEYDOWN,           WM_CHAR,  // Escape translates to a character
                                 WM_KEYUP,             WM_CHAR,            WM_CHAR,
                                 WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_COMPOSITION, WM_IME_COMPOSITION,
                                 WM_IME_COMPOSITION,   WM_CHAR,            WM_IME_ENDCOMPOSITION};
  EXPECT_EQ(edit.Messages(), expected);
  auto comp = edit.Only(WM_IME_COMPOSITION);
  EXPECT_EQ(comp[1].wParam, WPARAM(u'하'));
  EXPECT_EQ(comp[1].lParam, LPARAM(GCS_COMPSTR));
  EXPECT_EQ(comp[3].wParam, WPARAM(u'한'));
  EXPECT_EQ(comp[3].lParam, LPARAM(GCS_RESULTSTR));
  EXPECT_EQ(edit.Only(WM_CHAR).back().wParam, WPARAM(u'한'));
  EXPECT_EQ(top.Count(WM_CHAR), 0);
}

TEST_F(Input, SystemKeysAndTheCloseRequestBecomeTheDevicesMessagesOnlyWhenAsked) {
  RecordingWindow main_window, dialog;
  ASSERT_TRUE(main_window.CreateTop(Rect{0, 52, 480, 800}));
  ASSERT_TRUE(dialog.CreateTop(Rect{0, 52, 480, 800}));
  SetMainWindow(main_window.hwnd());
  Drain();
  // Off (StockUpdater, the gallery): keys only, and closing quits.
  InputScript keys_only;
  keys_only.Key(VK_TBACK).Key(VK_TEND).Idle();
  ASSERT_TRUE(PlayScript(keys_only));
  EXPECT_EQ(dialog.Count(WM_KEYDOWN), 2);
  EXPECT_EQ(dialog.Count(WM_BACK_KEY) + dialog.Count(WM_END_KEY), 0);
  RouteCloseRequest();
  bool quit = false;
  Message msg;
  while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
  EXPECT_TRUE(quit);
  EXPECT_EQ(main_window.Count(WM_CLOSE_REQUEST), 0);

  EnableSystemKeyMessages(true);
  InputScript system_keys;
  system_keys.Key(VK_TBACK).Key(VK_TEND).Key(VK_TTALK).Key(VK_RETURN).Close().Idle();
  const bool played = PlayScript(system_keys);
  EnableSystemKeyMessages(false);
  SetMainWindow(0);
  ASSERT_TRUE(played);
  EXPECT_EQ(dialog.Count(WM_BACK_KEY), 1);  // to the active window
  EXPECT_EQ(dialog.Count(WM_END_KEY), 1);
  EXPECT_EQ(dialog.Count(WM_TALK_KEY), 1);
  EXPECT_EQ(dialog.Count(WM_KEYDOWN), 6);  // the key messages stay
  EXPECT_EQ(dialog.Count(WM_CLOSE_REQUEST), 0);
  EXPECT_EQ(main_window.Count(WM_CLOSE_REQUEST), 1);  // the close request to the main window
}

TEST_F(Input, CaptureKeepsTheFingerWithTheWindowThatTookIt) {
  RecordingWindow a, b;
  ASSERT_TRUE(a.CreateTop(Rect{0, 100, 100, 200}));
  ASSERT_TRUE(b.CreateTop(Rect{200, 100, 300, 200}));
  a.on[WM_LBUTTONDOWN] = [&](WPARAM, LPARAM) {
    SetCapture(a.hwnd());
    return LRESULT(0);
  };
  a.on[WM_LBUTTONUP] = [&](WPARAM, LPARAM) {
    ReleaseCapture();
    return LRESULT(0);
  };
  InputScript s;
  s.Press(50, 150).Move(250, 150, 10).Release().Tap(250, 150).Idle();
  ASSERT_TRUE(PlayScript(s));
  auto moves = a.Only(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(At(moves[0]), (Point{250, 50}));  // relative to the capturing window
  EXPECT_EQ(a.Count(WM_LBUTTONUP), 1);
  EXPECT_EQ(b.Count(WM_LBUTTONDOWN), 1);      // after release the next tap goes where it lands
  EXPECT_EQ(b.Count(WM_MOUSEMOVE), 0);
}

TEST_F(Input, InputToTheOwnerOfAModalDialogIsDropped) {
  RecordingWindow owner;
  ASSERT_TRUE(owner.CreateTop(Rect{0, 52, 480, 800}));
  struct Box : Dialog {
    RecordingWindow* owner;
    bool OnInitDialog() override {
      InputScript s;
      s.Tap(10, 700).Idle().Call([this] { EndDialog(IDOK); });
      StartScript(s.steps());
      return true;
    }
  } box;
  box.owner = &owner;
  box.SetInitialRect(Rect{0, 300, 480, 500});
  EXPECT_EQ(box.DoModal(&owner), IDOK);
  StopScript();
  EXPECT_EQ(owner.Count(WM_LBUTTONDOWN), 0);
}

TEST_F(Input, ScreenshotsAreWrittenAsPng) {
  struct Red : Window {
    LRESULT WindowProc(uint32_t m, WPARAM w, LPARAM l) override {
      if (m == WM_PAINT) {
        PaintScope p(*this);
        p.dc().FillSolid(ClientRect(), RGB(255, 0, 0));
        return 0;
      }
      return Window::WindowProc(m, w, l);
    }
  } red;
  ASSERT_TRUE(red.Create(u"Red", u"", WS_VISIBLE, Rect{0, 52, 480, 800}));
  std::string dir = ::testing::TempDir() + "ui_input_shot";
  std::filesystem::create_directories(dir);
  std::string path = dir + "/screen.png";
  std::filesystem::remove(path);
  InputScript s;
  s.Screenshot(path);
  ASSERT_TRUE(PlayScript(s));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  // The display presented what it composed.
  EXPECT_EQ(backend_->presented().at(10, 400), ColorRefToPixel(RGB(255, 0, 0)));
  // A path that cannot be written is reported.
  InputScript bad;
  bad.Screenshot(dir + "/no/such/folder/x.png");
  EXPECT_FALSE(PlayScript(bad));
  EXPECT_EQ(ScriptScreenshotFailures(), 1);
}

TEST_F(Input, AnAnimationThreadChangesStateAndTheScreenFollows) {
  // The thread never draws: it changes a frame number and invalidates; the
  // UI thread paints, composes and presents.
  struct Animated : Window {
    std::atomic<int> frame{0};
    LRESULT WindowProc(uint32_t m, WPARAM w, LPARAM l) override {
      if (m == WM_PAINT) {
        PaintScope p(*this);
        p.dc().FillSolid(ClientRect(), RGB(uint8_t(frame.load() * 10), 0, 0));
        return 0;
      }
      return Window::WindowProc(m, w, l);
    }
  } w;
  ASSERT_TRUE(w.Create(u"Anim", u"", WS_VISIBLE, Rect{0, 52, 480, 800}));
  std::thread animator([&] {
    for (int i = 1; i <= 20; ++i) {
      w.frame = i;
      InvalidateRect(w.hwnd(), nullptr);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  const uint32_t last = ColorRefToPixel(RGB(200, 0, 0));
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (backend_->presented().at(10, 400) != last && std::chrono::steady_clock::now() < end) {
    Drain();
    WaitMessage(10);
  }
  animator.join();
  EXPECT_EQ(backend_->presented().at(10, 400), last);
}

TEST(ScriptText, ParsesEveryStepAndRejectsBadLinesWithTheirNumber) {
  std::vector<ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(ParseScript("# comment\n"
                          "tap 10 20\n"
                          "press 1.5 2.25\n"
                          "move 3 4 16\n"
                          "release\n"
                          "hold 500\n"
                          "key back\n"
                          "key 0x41\n"
                          "text 안녕 hi\n"
                          "compose ㅎ 하 한 = 한\n"
                          "wait 100\n"
                          "idle\n"
                          "screenshot /tmp/a.png\n"
                          "rotate 90\n"
                          "orient 4\n"
                          "quit\n",
                          steps, error))
      << error;
  ASSERT_EQ(steps.size(), 16u);  // a tap is a press and a release
  EXPECT_EQ(steps[2].x, 1.5);
  EXPECT_EQ(steps[3].ms, 16u);
  EXPECT_EQ(steps[6].code, VK_TBACK);
  EXPECT_EQ(steps[7].code, 0x41u);
  EXPECT_EQ(steps[8].text, u"안녕 hi");
  EXPECT_EQ(steps[9].composing, (std::vector<char16_t>{u'ㅎ', u'하', u'한'}));
  EXPECT_EQ(steps[9].text, u"한");
  for (const char* bad : {"tap 10\n", "move a b\n", "key nosuchkey\n", "rotate 45\n", "orient 2\n", "wait -1\n",
                          "wait 99999999\n", "tap 1e308 5\n", "tap nan 5\n", "compose ㅎ\n", "jump 1 2\n"}) {
    EXPECT_FALSE(ParseScript(std::string("idle\n") + bad, steps, error)) << bad;
    EXPECT_EQ(error.substr(0, 7), "line 2:") << bad;
    EXPECT_TRUE(steps.empty());
  }
}

TEST_F(Input, ScriptFilesReportWhyTheyCannotPlay) {
  std::string dir = ::testing::TempDir() + "ui_input_scripts";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_FALSE(StartScriptFile(dir + "/missing.txt", &error));
  EXPECT_NE(error.find("cannot be read"), std::string::npos);
  ASSERT_TRUE(WriteFileAtomically(dir + "/bad.txt", "idle\nmove 1\n"));
  EXPECT_FALSE(StartScriptFile(dir + "/bad.txt", &error));
  EXPECT_NE(error.find("line 2:"), std::string::npos);
  ASSERT_TRUE(WriteFileAtomically(dir + "/good.txt", "idle\n"));
  EXPECT_TRUE(StartScriptFile(dir + "/good.txt", &error));
  StopScript();
}

TEST_F(Input, TitleBarButtonTapSendsTheDevicesCommand) {
  RecordingWindow dlg;
  ASSERT_TRUE(dlg.CreateTop(Rect{0, 0, 10, 10}, u"증권정보"));
  ASSERT_TRUE(MakeFullScreenDialog(dlg.hwnd()));
  EXPECT_EQ(dlg.rect(), (Rect{0, 52, 480, 800}));
  Drain();
  InputScript tap_button;
  tap_button.Tap(450, 26).Idle();

  SetTitleBarButton(dlg.hwnd(), TITLE_BUTTON_HIDDEN);
  ASSERT_TRUE(PlayScript(tap_button));
  EXPECT_EQ(dlg.Count(WM_COMMAND), 0);

  SetTitleBarButton(dlg.hwnd(), TITLE_BUTTON_CLOSE);
  ASSERT_TRUE(PlayScript(tap_button));
  SetTitleBarButton(dlg.hwnd(), TITLE_BUTTON_OK);
  ASSERT_TRUE(PlayScript(tap_button));
  auto commands = dlg.Only(WM_COMMAND);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].wParam, 0x10000002u);
  EXPECT_EQ(commands[1].wParam, 0x10000001u);
  // The bar never takes activation away from the dialog.
  EXPECT_EQ(GetActiveWindow(), dlg.hwnd());
  // A dialog disabled under a modal one takes no command from the bar.
  dlg.Enable(false);
  ASSERT_TRUE(PlayScript(tap_button));
  EXPECT_EQ(dlg.Count(WM_COMMAND), 2);
  dlg.Enable(true);
  EXPECT_FALSE(SetTitleBarButton(dlg.hwnd(), 3));
}

TEST_F(Input, TurningTheScreenResizesFullScreenDialogsAndTellsEveryWindow) {
  RecordingWindow dlg, plain;
  ASSERT_TRUE(plain.CreateTop(Rect{0, 0, 100, 100}));
  ASSERT_TRUE(dlg.CreateTop(Rect{0, 0, 10, 10}));
  ASSERT_TRUE(MakeFullScreenDialog(dlg.hwnd()));
  dlg.log.clear();
  plain.log.clear();
  EXPECT_FALSE(SetDisplayOrientation(2));
  ASSERT_TRUE(SetDisplayOrientation(DISPLAY_ORIENTATION_90));
  EXPECT_EQ(GetScreenSize(), (Size{800, 480}));
  EXPECT_EQ(dlg.rect(), (Rect{0, 52, 800, 480}));
  std::vector<uint32_t> order;
  for (auto& r : dlg.log)
    if (r.message == WM_SIZE || r.message == WM_SETTINGCHANGE) order.push_back(r.message);
  EXPECT_EQ(order, (std::vector<uint32_t>{WM_SIZE, WM_SETTINGCHANGE}));
  EXPECT_EQ(dlg.Only(WM_SETTINGCHANGE)[0].wParam, SETTINGCHANGE_RESET);
  EXPECT_EQ(plain.Count(WM_SETTINGCHANGE), 1);
  EXPECT_EQ(plain.Count(WM_SIZE), 0);
  Drain();
  EXPECT_EQ(backend_->presented().width(), 800);
  EXPECT_NE(DumpWindowTree().find("BrantelSystemBar id=0 (0,0)-(800,52) visible"), std::string::npos);
  ASSERT_TRUE(SetDisplayOrientation(DISPLAY_ORIENTATION_0));
  EXPECT_EQ(dlg.rect(), (Rect{0, 52, 480, 800}));
}

// The detail turns sideways with the bar hidden and shows it only after
// turning back: the main dialog must end below the bar, and a child screen
// that set a title-bar button state stays where its parent put it.
TEST_F(Input, ShowingTheBarRefitsFullScreenDialogsButNeverTheirChildScreens) {
  RecordingWindow dlg, child;
  ASSERT_TRUE(dlg.CreateTop(Rect{0, 0, 10, 10}));
  ASSERT_TRUE(MakeFullScreenDialog(dlg.hwnd()));
  ASSERT_TRUE(child.CreateChild(dlg, Rect{0, 0, 480, 600}, 7));
  ASSERT_TRUE(SetTitleBarButton(child.hwnd(), TITLE_BUTTON_HIDDEN));
  EXPECT_FALSE(IsFullScreenDialog(child.hwnd()));
  EXPECT_EQ(GetTitleBarButton(child.hwnd()), TITLE_BUTTON_HIDDEN);
  const Rect child_rect = child.rect();

  ShowSystemBar(false);
  ASSERT_TRUE(SetDisplayOrientation(DISPLAY_ORIENTATION_90));
  EXPECT_EQ(dlg.rect(), (Rect{0, 0, 800, 480}));
  ASSERT_TRUE(SetDisplayOrientation(DISPLAY_ORIENTATION_0));
  EXPECT_EQ(dlg.rect(), (Rect{0, 0, 480, 800}));
  ShowSystemBar(true);
  EXPECT_EQ(dlg.rect(), (Rect{0, 52, 480, 800}));
  EXPECT_EQ(child.rect(), child_rect);
}

TEST_F(Input, TurningTheScreenFromAnotherThreadRunsOnTheUiThread) {
  RecordingWindow dlg;
  ASSERT_TRUE(dlg.CreateTop(Rect{0, 0, 10, 10}));
  ASSERT_TRUE(MakeFullScreenDialog(dlg.hwnd()));
  std::atomic<bool> turned{false};
  std::thread watcher([&] { turned = SetDisplayOrientation(DISPLAY_ORIENTATION_270); });
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!turned && std::chrono::steady_clock::now() < end) {
    Drain();
    WaitMessage(5);
  }
  watcher.join();
  EXPECT_TRUE(turned);
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_270);
  EXPECT_EQ(dlg.rect(), (Rect{0, 52, 800, 480}));
  EXPECT_EQ(dlg.Count(WM_SETTINGCHANGE), 1);
}

TEST_F(Input, InputPanelTurnsTextInputOnAndTellsTheWindows) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 52, 480, 800}));
  SetInputPanel(true);
  EXPECT_TRUE(backend_->text_input());
  EXPECT_TRUE(IsInputPanelUp());
  SetInputPanel(true);  // no change, no message
  auto changes = w.Only(WM_SETTINGCHANGE);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].wParam, SPI_SETSIPINFO);
  SetInputPanel(false);
  EXPECT_FALSE(backend_->text_input());
}

TEST_F(Input, WindowDumpListsTheTree) {
  RecordingWindow top, child;
  ASSERT_TRUE(top.Create(u"Main", u"제목", WS_VISIBLE, Rect{0, 52, 480, 800}));
  ASSERT_TRUE(child.Create(u"Mobile List", u"", WS_CHILD, Rect{0, 88, 480, 748}, &top, 10));
  std::string dump = DumpWindowTree(top.hwnd());
  EXPECT_EQ(dump,
            "Main id=0 (0,52)-(480,800) visible active focus \"제목\"\n"
            "  Mobile List id=10 (0,88)-(480,748) hidden \"\"\n");
}

}  // namespace
}  // namespace brantel
