// The auxiliary dialogs on the headless display: the message box (layout,
// results, a release outside), help (the tick and display_info, scrolling),
// loading (animation through a blocked window thread) and version (the
// text file and the system keys).

#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

#include "app/dialogs/help_dlg.h"
#include "app/dialogs/loading_dlg.h"
#include "app/dialogs/msg_box_dlg.h"
#include "app/dialogs/numbered_message.h"
#include "app/dialogs/version_info_dlg.h"
#include "app/dialogs/version_text.h"
#include "platform/module_info.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"
#include "tests/app/dialog_test_support.h"

namespace brantel {
namespace {

using testing::DialogTest;

TEST(MsgBoxLayout, HeightsAndButtonsFollowTheLineCount) {
  const Rect client{0, 0, 480, 748};
  EXPECT_EQ(LayOutMsgBox(1, 0, client).box.Height(), 280);
  EXPECT_EQ(LayOutMsgBox(2, 0, client).box.Height(), 280);
  EXPECT_EQ(LayOutMsgBox(3, 1, client).box.Height(), 328);
  MsgBoxLayout one = LayOutMsgBox(1, 0, client);
  EXPECT_EQ(one.box.top, (748 - 52 - 280) / 2);
  EXPECT_EQ(one.text.top - one.box.top, 115);
  EXPECT_EQ(one.buttons[0], (Rect{39, one.box.top + 197, 442, one.box.top + 259}));
  MsgBoxLayout three = LayOutMsgBox(3, 1, client);
  EXPECT_EQ(three.text, (Rect{44, three.box.top + 93, 437, three.box.top + 93 + 138}));
  EXPECT_EQ(three.button_count, 2);
  EXPECT_EQ(three.buttons[1], (Rect{246, three.box.top + 245, 442, three.box.top + 307}));
  // Lines as a 393-pixel edit with the 36 font wraps them.
  EXPECT_EQ(WrapMessageText(u"확인").size(), 1u);
  EXPECT_EQ(WrapMessageText(u"").size(), 1u);
  EXPECT_EQ(WrapMessageText(u"첫째 줄\n둘째 줄\n셋째 줄").size(), 3u);
  std::vector<WideText> wrapped = WrapMessageText(u"데이터 연결이 없습니다. 지금 연결하시겠습니까?");
  EXPECT_EQ(wrapped.size(), 2u);
}

TEST_F(DialogTest, NumberedMessagesAnswerPerButtonAndIgnoreAReleaseElsewhere) {
  const WideText text = library_->String(111);
  const MsgBoxLayout l = LayOutMsgBox(int(WrapMessageText(text).size()), 1, Rect{0, 0, 480, 748});
  auto centre = [](const Rect& r, double& x, double& y) {
    x = (r.left + r.right) / 2.0;
    y = (r.top + r.bottom) / 2.0 + 52;
  };
  double x0, y0, x1, y1;
  centre(l.buttons[0], x0, y0);
  centre(l.buttons[1], x1, y1);
  struct Case {
    int style;
    bool second;
    intptr_t expected;
  } cases[] = {{1, false, kMessageYes}, {1, true, kMessageNo}, {0, false, kMessageOk}};
  for (const Case& c : cases) {
    InputScript s;
    // Pressed on the first button, released elsewhere: nothing ends.
    s.Wait(20).Press(x0, y0).Move(x0, y0 - 150, 10).Release().Idle();
    if (c.style == 1 && c.second)
      s.Tap(x1, y1);
    else
      s.Tap(x0, c.style == 0 ? LayOutMsgBox(int(WrapMessageText(library_->String(108)).size()), 0,
                                            Rect{0, 0, 480, 748}).buttons[0].top + 52 + 31
                             : y0);
    ASSERT_TRUE(StartScript(s.steps()));
    intptr_t result = ShowNumberedMessage(&screen_, c.style == 1 ? 111 : 108, c.style);
    EXPECT_TRUE(IsScriptDone());
    StopScript();
    EXPECT_EQ(result, c.expected) << c.style << c.second;
  }
  // Enter answers with the first button.
  InputScript enter;
  enter.Wait(20).Key(VK_RETURN);
  ASSERT_TRUE(StartScript(enter.steps()));
  EXPECT_EQ(ShowNumberedMessage(&screen_, 111, 1), kMessageYes);
  StopScript();
  // How it looks: a three-line question with the screen dimmed behind.
  CMsgBoxDlg box(kMessageCaption, u"첫째 줄입니다.\n둘째 줄입니다.\n셋째 줄입니다.", 1);
  const MsgBoxLayout three = LayOutMsgBox(3, 1, Rect{0, 0, 480, 748});
  InputScript look;
  look.Wait(20).Press(x1, three.buttons[1].top + 52 + 31).Call([] { Shot("message-box"); }).Release();
  ASSERT_TRUE(StartScript(look.steps()));
  EXPECT_EQ(box.DoModal(&screen_), 2);
  EXPECT_EQ(box.lines().size(), 3u);
  StopScript();
}

// The box dims the screen behind it with black at alpha 210, and a one-line
// box is 280 pixels high, as seen on the composed screen.
TEST_F(DialogTest, TheBoxDimsTheScreenAndAOneLineBoxIs280High) {
  PumpPendingMessages();
  Surface before, during;
  CopyScreen(before);
  CMsgBoxDlg box(kMessageCaption, u"확인", 0);
  InputScript look;
  look.Wait(20).Idle().Call([&] { CopyScreen(during); }).Key(VK_RETURN);
  ASSERT_TRUE(StartScript(look.steps()));
  EXPECT_EQ(box.DoModal(&screen_), 1);
  StopScript();
  ASSERT_EQ(box.lines().size(), 1u);
  ASSERT_EQ(during.width(), 480);

  const auto dimmed = [](uint32_t pixel) {
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) out |= (((pixel >> shift) & 0xFF) * (255 - 210) / 255) << shift;
    return out;
  };
  const auto near = [](uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
      if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 1) return false;
    return true;
  };
  // Outside the box (left of it, in both stripe colours): the screen, dimmed.
  ASSERT_GT(before.row(60)[5] & 0xFF, 0x80u);  // a light stripe to dim
  for (int y : {60, 150, 790}) EXPECT_TRUE(near(during.row(y)[5], dimmed(before.row(y)[5]))) << y;
  // Down the middle, the rows that are not the dimmed screen are the box's.
  int first = -1, last = -1;
  for (int y = 52; y < during.height(); ++y) {
    if (near(during.row(y)[240], dimmed(before.row(y)[240]))) continue;
    if (first < 0) first = y;
    last = y;
  }
  EXPECT_EQ(last - first + 1, 280);
  EXPECT_EQ(first - 52, (748 - 52 - 280) / 2);
}

// Every line of the numbered texts shows, and the box grows with them.
TEST_F(DialogTest, NumberedMessageTextsShowWhole) {
  for (int number : {108, 109, 111, 112}) {
    const int style = number == 111 ? 1 : 0;
    InputScript s;
    s.Wait(20).Call([number] {
      Shot("message-" + std::to_string(number));
      PostMessage(GetActiveWindow(), WM_BACK_KEY, 0, 0);  // the back key answers as the second button
    });
    ASSERT_TRUE(StartScript(s.steps()));
    EXPECT_EQ(ShowNumberedMessage(&screen_, number, style), style == 1 ? kMessageNo : kMessageOk);
    StopScript();
    // The lines hold the whole text, broken only at its spaces.
    const std::vector<WideText> lines = WrapMessageText(library_->String(uint32_t(number)));
    WideText joined;
    for (const WideText& line : lines) joined += (joined.empty() ? u"" : u" ") + line;
    EXPECT_EQ(joined, library_->String(uint32_t(number))) << number;
    EXPECT_EQ(LayOutMsgBox(int(lines.size()), style, Rect{0, 0, 480, 748}).box.Height(),
              93 + 97 + 48 * int(lines.size()) - 6) << number;
  }
  EXPECT_EQ(WrapMessageText(library_->String(112)).size(), 3u);  // "있습니다." on the third line
}

TEST_F(DialogTest, HelpWritesDisplayInfoOnlyWhenTickedAndItsRowsScroll) {
  {
    CHelpDlg help;
    ASSERT_TRUE(help.Open(&screen_));
    Settle();
    Shot("help");
    // The rows scroll with the finger.
    InputScript drag;
    drag.Press(240, 52 + 450);
    for (int i = 1; i <= 10; ++i) drag.Move(240, 52 + 450 - 30 * i, 16);
    drag.Release().Wait(1500);
    Play(drag);
    EXPECT_GT(help.page().VerticalPosition(), 0);
    Shot("help-scrolled");
    // OK without the tick writes nothing.
    InputScript ok;
    ok.Tap(240, 52 + 650);
    Play(ok);
    EXPECT_EQ(screen_.Count(WM_HELP_CLOSED), 1);
    EXPECT_FALSE(IsHelpTurnedOff());
    RegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, kHelpSettingsKeyPath));
  }
  CHelpDlg help;
  ASSERT_TRUE(help.Open(&screen_));
  InputScript tick;
  tick.Tap(60, 52 + 569).Call([&] { EXPECT_TRUE(help.choice().ticked()); });
  tick.Press(240, 52 + 650).Call([] { Shot("help-ticked"); }).Release();
  Play(tick);
  EXPECT_EQ(screen_.Count(WM_HELP_CLOSED), 2);
  RegistryKey key;
  uint32_t value = 0;
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kHelpSettingsKeyPath));
  EXPECT_TRUE(key.QueryDword(kHelpTurnedOffValue, &value));
  EXPECT_EQ(value, 1u);
  EXPECT_TRUE(IsHelpTurnedOff());
}

uint64_t Fingerprint(const Surface& s) {
  uint64_t h = 1469598103934665603ull;
  for (int y = 200; y < 600; y += 2)
    for (int x = 40; x < 440; x += 2) h = (h ^ s.at(x, y)) * 1099511628211ull;
  return h;
}

TEST_F(DialogTest, LoadingKeepsAnimatingWhileTheWindowThreadIsBlocked) {
  EXPECT_EQ(LoadingCaption(0), u"로딩중");
  EXPECT_EQ(LoadingCaption(1), u"로딩중.");
  EXPECT_EQ(LoadingCaption(3), u"로딩중...");
  EXPECT_EQ(LoadingCaption(4), u"로딩중");
  EXPECT_EQ(LoadingCaption(7), u"로딩중...");

  CLoadingDlg loading(true);
  ASSERT_TRUE(loading.Open(&screen_));
  Settle();
  Shot("loading");
  // The window thread sleeps two seconds and handles nothing meanwhile.
  std::set<uint64_t> frames;
  const int presents = backend_->present_count();
  for (int i = 0; i < 20; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    frames.insert(Fingerprint(backend_->PresentedCopy()));
  }
  EXPECT_GE(backend_->present_count() - presents, 10);
  EXPECT_GE(frames.size(), 4u);
  EXPECT_TRUE(loading.animating());
  loading.Close();
  EXPECT_FALSE(loading.animating());
  EXPECT_FALSE(loading.IsAlive());
}

TEST_F(DialogTest, VersionShowsTheFileOrTheVersionAndTurnsSystemKeysIntoCommands) {
  testing::TempFolder dir("brantel-version");
  testing::WriteFile(dir / "crlf.txt", "BrantelStock 1.0.0\r\n\r\n빌드 2026-12-07\r\n");
  testing::WriteFile(dir / "empty.txt", "");
  EXPECT_EQ(ReadVersionLines(dir / "crlf.txt"), (std::vector<WideText>{u"BrantelStock 1.0.0", u"", u"빌드 2026-12-07"}));
  EXPECT_EQ(VersionRows(ReadVersionLines(dir / "crlf.txt"), u"9"),
            (std::vector<WideText>{u"BrantelStock 1.0.0", u"빌드 2026-12-07"}));
  EXPECT_EQ(VersionRows(ReadVersionLines(dir / "empty.txt"), u"9"), std::vector<WideText>{u"9"});
  EXPECT_EQ(VersionRows(ReadVersionLines(dir / "missing.txt"), u"9"), std::vector<WideText>{u"9"});
  testing::WriteFile(dir / "long.txt", std::string(5000, 'a') + "\n");
  std::vector<WideText> long_lines = ReadVersionLines(dir / "long.txt");
  ASSERT_EQ(long_lines.size(), 3u);
  EXPECT_EQ(long_lines[0].size(), kVersionLineLimit);

  CVersionInfoDlg missing(dir / "missing.txt");
  ASSERT_TRUE(missing.Open(&screen_));
  EXPECT_EQ(missing.rows(), std::vector<WideText>{GetFileVersionText()});
  missing.Destroy();

  CVersionInfoDlg version(dir / "crlf.txt");
  ASSERT_TRUE(version.Open(&screen_));
  EXPECT_EQ(version.title(), library_->String(104));
  Settle();
  Shot("version");
  auto posted = [&](uint32_t message) {
    Settle();
    int n = screen_.Count(message);
    return n;
  };
  // The soft key "닫기" (40018) and the title-bar OK (0x10000001) ask the owner to close it.
  InputScript close;
  close.Key(VK_F1);
  Play(close);
  EXPECT_EQ(posted(WM_VERSION_CLOSED), 1);
  version.Send(WM_COMMAND, 0x10000001, 0);
  EXPECT_EQ(posted(WM_VERSION_CLOSED), 2);
  version.Post(WM_CLOSE);
  EXPECT_EQ(posted(WM_VERSION_CLOSED), 3);
  EXPECT_TRUE(version.IsAlive());  // the owner destroys it
  for (uint32_t key : {0xC021u, 0xC03Cu, 0xC024u}) version.Post(key);
  version.Post(0x36E);
  Settle();
  int exits = 0;
  for (auto& r : screen_.Only(WM_COMMAND)) exits += r.wParam == kCmdExit;
  EXPECT_EQ(exits, 3);
  EXPECT_EQ(screen_.Count(WM_SCREEN_BACK), 1);
}

}  // namespace
}  // namespace brantel
