// BrantelStock as a user starts it: the real program against the reference
// server, headless, driven by scripts; what it shows is read from the
// window trees its scripts dump, what it keeps from the registry.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <thread>

#include "app/dialogs/msg_box_layout.h"
#include "app/server_selection.h"
#include "app/startup/self_upgrade.h"
#include "platform/gfx/geometry.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/other_programs_link.h"
#include "platform/ui/window.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/loopback_listener.h"
#include "tests/app/self_upgrade_key.h"
#include "tests/support/viewer_process.h"

namespace brantel {
namespace {

using testing::QuoteServerProcess;
using testing::ViewerProcess;
using testing::ViewerRun;

// Screen points of what the scripts tap.
constexpr const char* kTapHelpTick = "tap 100 621\n";
constexpr const char* kTapHelpOk = "tap 240 703\n";
constexpr const char* kTapMarketTab = "tap 240 96\n";
constexpr const char* kTapSearchTab = "tap 395 96\n";
constexpr const char* kTapMyPageTab = "tap 85 96\n";
constexpr const char* kTapTitleBarClose = "tap 446 26\n";
constexpr const char* kSettle = "wait 300\nidle\n";
// Start-up is over well before this, also in a sanitizer build.
constexpr const char* kStarted = "wait 2500\nidle\n";
// Long enough that a viewer still running at its end has not ended by itself.
constexpr const char* kLinger = "wait 30000\nquit\n";
constexpr int kEndsByItselfMs = 15000;

// The line of a window in a dump ("" when absent).
std::string Line(const std::string& dump, const std::string& start) {
  const size_t at = dump.find(start);
  if (at == std::string::npos) return "";
  return dump.substr(at, dump.find('\n', at) - at);
}
bool ScreenVisible(const std::string& dump, const std::string& screen_class) {
  return Line(dump, "  " + screen_class + " id=").find(" visible") != std::string::npos;
}
bool HelpShown(const std::string& dump) { return dump.find("Stock Help Page Window") != std::string::npos; }
// A modal box: the main dialog disabled under an active dialog.
bool MessageBoxShown(const std::string& dump) {
  return Line(dump, "Brantel_Stock_Class").find("disabled") != std::string::npos &&
         dump.find("\nDialog id=0 (0,52)-(480,800) visible active") != std::string::npos;
}

// The centre of a numbered message box's button, in screen points.
std::string TapMessageButton(int number, int style, int button) {
  static ResourceLibraryRef library = ResourceLibrary::Load(testing::BinDir() + "/stock_resource.so");
  const int lines = int(WrapMessageText(library ? library->String(uint32_t(number)) : WideText()).size());
  const MsgBoxLayout layout = LayOutMsgBox(lines, style, Rect{0, 0, 480, 748});
  const Rect& b = layout.buttons[button];
  return "tap " + std::to_string((b.left + b.right) / 2) + " " + std::to_string(52 + (b.top + b.bottom) / 2) + "\n";
}

uint32_t RegistryNumber(RegRoot root, WideView path, WideView name, uint32_t missing = 0xFFFFFFFF) {
  RegistryKey key;
  uint32_t value = missing;
  if (!key.Open(root, path) || !key.QueryDword(name, &value)) return missing;
  return value;
}
void SetRegistryNumber(RegRoot root, WideView path, WideView name, uint32_t value) {
  RegistryKey key;
  ASSERT_TRUE(key.Create(root, path));
  ASSERT_TRUE(key.SetDword(name, value));
}

TEST(ViewerStartup, FirstStartHelpTabsAndTheHelpFlag) {
  QuoteServerProcess server({"--log"});
  ASSERT_TRUE(server.started()) << server.why_not();
  ViewerProcess viewer;
  viewer.PointAt(server.port());

  // First start: loading, master request, MyPage, the help over it. OK
  // without the tick; then the tabs.
  // The loading dialog is looked at before the start-up timer's first tick.
  // Three early looks, 40 ms apart: on a loaded machine the first may come
  // before the main window is up.
  const std::string look = "wait 40\n" + viewer.DumpStep();
  viewer.SetScript(look + look + look + kStarted + viewer.DumpStep() + kTapHelpOk + kSettle +
                   viewer.DumpStep() + kTapMarketTab + kSettle + viewer.DumpStep() + kTapSearchTab + kSettle +
                   viewer.DumpStep() + kTapMyPageTab + kSettle + viewer.DumpStep() + "quit\n");
  ViewerRun run = viewer.Run(20000);
  ASSERT_FALSE(run.timed_out) << viewer.Log();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(server.Log().find("MasterMain.do"), std::string::npos);
  auto dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 8u);
  // Shown over the whole work area; whether it is also active yet depends on
  // how far start-up got on a slow machine.
  const std::regex loading_shown("\nDialog id=0 \\(0,52\\)-\\(480,800\\) visible[a-z ]* \"증권정보 NUV\"");
  const auto loading = std::find_if(dumps.begin(), dumps.begin() + 3,
                                    [&](const std::string& d) { return std::regex_search(d, loading_shown); });
  ASSERT_NE(loading, dumps.begin() + 3) << dumps[0] << dumps[1] << dumps[2];
  EXPECT_FALSE(ScreenVisible(*loading, "CMyPageDlg"));
  dumps.erase(dumps.begin(), dumps.begin() + 3);
  EXPECT_TRUE(HelpShown(dumps[0]));
  EXPECT_TRUE(ScreenVisible(dumps[0], "CMyPageDlg"));
  EXPECT_FALSE(HelpShown(dumps[1]));
  EXPECT_TRUE(ScreenVisible(dumps[2], "CMarketInfoDlg"));
  EXPECT_FALSE(ScreenVisible(dumps[2], "CMyPageDlg"));
  EXPECT_TRUE(ScreenVisible(dumps[3], "CSearchDlg"));
  EXPECT_FALSE(ScreenVisible(dumps[3], "CMarketInfoDlg"));
  EXPECT_TRUE(ScreenVisible(dumps[4], "CMyPageDlg"));
  EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock", u"display_info"), 0xFFFFFFFFu);

  // Second start: the help again; ticked and OK turns it off.
  viewer.SetScript(std::string(kStarted) + viewer.DumpStep() + kTapHelpTick + kTapHelpOk + kSettle +
                   "quit\n");
  run = viewer.Run(20000);
  ASSERT_FALSE(run.timed_out) << viewer.Log();
  dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 9u);
  EXPECT_TRUE(HelpShown(dumps[8]));
  EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock", u"display_info"), 1u);

  // Third start: no help. Another program sends an unknown tab (nothing
  // changes), then WM_APP_EXIT (the viewer ends). The user's auto-rotation
  // is off while the viewer runs and comes back after it.
  SetRegistryNumber(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor", u"AutoOrientation", 1);
  viewer.SetScript(std::string(kStarted) + viewer.DumpStep() + kStarted + viewer.DumpStep() +
                   kLinger);
  ASSERT_TRUE(viewer.Start());
  ASSERT_TRUE(ConnectToOtherPrograms());
  auto wait_for_dumps = [&](size_t n) {
    for (int i = 0; i < 1000 && viewer.Dumps().size() < n; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return viewer.Dumps().size() >= n;
  };
  ASSERT_TRUE(wait_for_dumps(10));
  HWND main_dialog = FindWindow(kViewerWindowClass, u"");
  ASSERT_NE(main_dialog, HWND(0));
  EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor", u"AutoOrientation"), 0u);
  EXPECT_TRUE(PostMessage(main_dialog, WM_TAB_SELECTED, 0, 12345));
  ASSERT_TRUE(wait_for_dumps(11));
  EXPECT_TRUE(PostMessage(main_dialog, WM_APP_EXIT, 0, 0));
  run = viewer.Wait(kEndsByItselfMs);
  DisconnectFromOtherPrograms();
  EXPECT_FALSE(run.timed_out) << "WM_APP_EXIT did not end the viewer";
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor", u"AutoOrientation"), 1u);
  dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 11u);
  EXPECT_FALSE(HelpShown(dumps[9]));
  EXPECT_TRUE(ScreenVisible(dumps[9], "CMyPageDlg"));
  EXPECT_TRUE(ScreenVisible(dumps[10], "CMyPageDlg"));
  EXPECT_FALSE(ScreenVisible(dumps[10], "CMarketInfoDlg"));
  EXPECT_FALSE(ScreenVisible(dumps[10], "CSearchDlg"));
}

TEST(ViewerStartup, DataConnectionCradleAndMessage111) {
  QuoteServerProcess server;
  ASSERT_TRUE(server.started()) << server.why_not();
  ViewerProcess viewer;
  viewer.PointAt(server.port());
  SetRegistryNumber(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock", u"display_info", 1);
  SetRegistryNumber(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\Device", u"DataConnection", 0);

  // In the cradle: no question at start nor before the master request.
  SetRegistryNumber(HKEY_LOCAL_MACHINE, u"System\\State\\Hardware", u"Cradled", 1);
  viewer.SetScript(std::string(kStarted) + viewer.DumpStep() + "quit\n");
  ViewerRun run = viewer.Run(20000);
  ASSERT_FALSE(run.timed_out);
  auto dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_FALSE(MessageBoxShown(dumps[0]));
  EXPECT_TRUE(ScreenVisible(dumps[0], "CMyPageDlg"));

  // Out of it: message 111; "No" ends the viewer.
  SetRegistryNumber(HKEY_LOCAL_MACHINE, u"System\\State\\Hardware", u"Cradled", 0);
  viewer.SetScript(std::string("wait 1000\nidle\n") + viewer.DumpStep() + TapMessageButton(111, 1, 1) + kLinger);
  run = viewer.Run(kEndsByItselfMs);
  EXPECT_FALSE(run.timed_out) << "No did not end the viewer";
  dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 2u);
  EXPECT_TRUE(MessageBoxShown(dumps[1]));

  // "Yes" goes on: asked again before the master request, then MyPage.
  viewer.SetScript(std::string("wait 1000\nidle\n") + TapMessageButton(111, 1, 0) + "wait 1500\nidle\n" +
                   viewer.DumpStep() + TapMessageButton(111, 1, 0) + kStarted + viewer.DumpStep() +
                   "quit\n");
  run = viewer.Run(20000);
  ASSERT_FALSE(run.timed_out);
  dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 4u);
  EXPECT_TRUE(MessageBoxShown(dumps[2]));
  EXPECT_FALSE(MessageBoxShown(dumps[3]));
  EXPECT_TRUE(ScreenVisible(dumps[3], "CMyPageDlg"));
}

// A master answer with one item whose file is larger than a master list may
// be (32 MiB), so it cannot be read.
std::string UnreadableMasterAnswer() {
  const std::string delimiter = "------BrantelPart7f3a";
  const std::string line = "005930|한빛전자|KOSPI|\n";
  std::string file;
  while (file.size() <= (size_t(32) << 20)) file += line;
  std::string body = delimiter + "\r\nContent-Type: text/xml; charset=UTF-8\r\n\r\n"
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><ServerDate>26/12/07 10:56:06</ServerDate>"
      "<ResultCode>1</ResultCode><ResultDesc>OK</ResultDesc></Header><Body><InfoList gubun=\"0\"><Code item=\"0\">"
      "MASTER</Code><CodeName>masterinfo</CodeName></InfoList></Body></SmartPhone>\r\n" +
      delimiter + "\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Disposition: attachment; "
      "filename='masterinfo.txt'\r\nContent-Length: " + std::to_string(file.size()) + "\r\n\r\n" + file + "\r\n" +
      delimiter + "--\r\n";
  return "HTTP/1.1 200 OK\r\nContent-Type: multipart/mixed\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n\r\n" + body;
}

TEST(ViewerStartup, MasterRefreshFailuresAndRefusal) {
  ViewerProcess viewer;
  SetRegistryNumber(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock", u"display_info", 1);

  // No answer and no stored master: message 109, then the viewer ends.
  viewer.PointAt(testing_support::FreeLoopbackPort());
  viewer.SetScript(std::string("wait 1000\nidle\n") + viewer.DumpStep() + TapMessageButton(109, 0, 0) + kLinger);
  ViewerRun run = viewer.Run(kEndsByItselfMs);
  EXPECT_FALSE(run.timed_out) << "the viewer did not end after message 109";
  auto dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_TRUE(MessageBoxShown(dumps[0]));
  EXPECT_FALSE(ScreenVisible(dumps[0], "CMyPageDlg"));

  // A master is stored; later the server refuses: the stored one is used.
  {
    QuoteServerProcess server;
    ASSERT_TRUE(server.started());
    viewer.PointAt(server.port());
    viewer.SetScript(std::string(kStarted) + viewer.DumpStep() + "quit\n");
    ASSERT_FALSE(viewer.Run(20000).timed_out);
  }
  QuoteServerProcess refusing({"--result-code", "0"});
  ASSERT_TRUE(refusing.started());
  viewer.PointAt(refusing.port());
  viewer.SetScript(std::string(kStarted) + viewer.DumpStep() + "quit\n");
  ASSERT_FALSE(viewer.Run(20000).timed_out);
  dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 3u);
  EXPECT_TRUE(ScreenVisible(dumps[1], "CMyPageDlg"));
  EXPECT_TRUE(ScreenVisible(dumps[2], "CMyPageDlg"));
  EXPECT_FALSE(MessageBoxShown(dumps[2]));

  // A new master list that cannot be read: message 109 even though a
  // stored one exists, and the viewer ends.
  testing_support::LoopbackServer unreadable(
      [answer = UnreadableMasterAnswer()](int fd, const std::string&) { testing_support::SendText(fd, answer); });
  viewer.PointAt(unreadable.port());
  viewer.SetScript(std::string("wait 3000\nidle\n") + viewer.DumpStep() + TapMessageButton(109, 0, 0) + kLinger);
  const ViewerRun unreadable_run = viewer.Run(kEndsByItselfMs);
  EXPECT_FALSE(unreadable_run.timed_out) << "the viewer did not end after message 109";
  dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 4u);
  EXPECT_TRUE(MessageBoxShown(dumps[3]));
  EXPECT_FALSE(ScreenVisible(dumps[3], "CMyPageDlg"));
}

TEST(ViewerStartup, ExitRequestDuringTheMasterRequestStartsNothingMore) {
  // The updater is a script that leaves a mark when it is started.
  QuoteServerProcess slow({"--delay", "2000"});
  ASSERT_TRUE(slow.started());
  ViewerProcess viewer;
  viewer.PointAt(slow.port());
  const std::string mark = viewer.File("updater-started");
  const std::string updater = viewer.program_folder() + "StockUpdater";
  testing::WriteFile(updater, "#!/bin/sh\ntouch '" + mark + "'\n");
  std::filesystem::permissions(updater, std::filesystem::perms::owner_all);
  viewer.SetScript(std::string("wait 6000\n") + viewer.DumpStep() + kLinger);
  ASSERT_TRUE(viewer.Start());
  ASSERT_TRUE(ConnectToOtherPrograms());
  HWND main_dialog = 0;
  for (int i = 0; i < 500 && !main_dialog; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    main_dialog = FindWindow(kViewerWindowClass, u"");
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(800));  // the master request is waiting now
  EXPECT_TRUE(PostMessage(main_dialog, WM_APP_EXIT, 0, 0));
  const ViewerRun run = viewer.Wait(kEndsByItselfMs);
  DisconnectFromOtherPrograms();
  EXPECT_FALSE(run.timed_out);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(std::filesystem::exists(mark)) << "the updater was started after the exit request";
  EXPECT_TRUE(viewer.Dumps().empty());
}

TEST(ViewerStartup, SelfUpgradeWaitsForTheUpdaterAndReplacesTheFileWhole) {
  QuoteServerProcess server;
  ASSERT_TRUE(server.started());
  ViewerProcess viewer;
  viewer.PointAt(server.port());
  SetRegistryNumber(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock", u"display_info", 1);
  const std::string target = viewer.program_folder() + "StockUpdater";
  const std::string replacement = viewer.program_folder() + "update_temp/StockUpdater.tmp";
  testing::WriteFile(target, "old updater");
  testing::WriteFile(replacement, "new updater");
  testing::LeaveSelfUpgradeKey(replacement, target);
  // The updater's marker keeps the viewer from starting the (fake) updater.
  const std::vector<std::string> args = {"UPDATE_USER_CANCEL"};
  viewer.SetScript(std::string("wait 3000\nidle\nquit\n"));

  // An updater window that never closes: nothing is touched.
  ASSERT_TRUE(ConnectToOtherPrograms());
  {
    Window updater;
    ASSERT_TRUE(updater.Create(kUpdaterWindowClass, u"", WS_VISIBLE, Rect{0, 0, 10, 10}));
    ASSERT_FALSE(viewer.Run(20000, args).timed_out);
  }
  DisconnectFromOtherPrograms();
  EXPECT_EQ(testing::ReadFile(target), "old updater");
  EXPECT_EQ(testing::ReadFile(replacement), "new updater");
  EXPECT_TRUE(RegistryKey().Open(HKEY_LOCAL_MACHINE, kSelfUpgradeKey));

  // Without one: replaced whole, the download and the key gone.
  ASSERT_FALSE(viewer.Run(20000, args).timed_out);
  EXPECT_EQ(testing::ReadFile(target), "new updater");
  EXPECT_FALSE(std::filesystem::exists(replacement));
  EXPECT_FALSE(std::filesystem::exists(target + ".new"));
  EXPECT_FALSE(RegistryKey().Open(HKEY_LOCAL_MACHINE, kSelfUpgradeKey));
}

TEST(ViewerStartup, SystemKeysAndCloseRequestsGoThroughTheScreen) {
  QuoteServerProcess server;
  ASSERT_TRUE(server.started());
  ViewerProcess viewer;
  viewer.PointAt(server.port());
  SetRegistryNumber(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock", u"display_info", 1);
  // Each reaches the shown screen as WM_SCREEN_BACK, and the empty screens
  // end the viewer on it.
  for (const std::string step : {"key back\n", "key end\n", "key talk\n", "close\n", kTapTitleBarClose}) {
    viewer.SetScript(kStarted + step + kLinger);
    const ViewerRun run = viewer.Run(kEndsByItselfMs);
    EXPECT_FALSE(run.timed_out) << step;
    EXPECT_EQ(run.exit_code, 0) << step;
  }
  // A server that takes the start-up request and never answers: the close
  // button still ends the viewer at once, not after the 7 s receive wait.
  int port = 0;
  const int silent = testing_support::ListenLoopback(4, &port);
  ASSERT_GE(silent, 0);
  viewer.PointAt(port);
  viewer.SetScript(std::string("wait 1000\nclose\n") + kLinger);
  const auto start = std::chrono::steady_clock::now();
  const ViewerRun run = viewer.Run(kEndsByItselfMs);
  const auto took = std::chrono::steady_clock::now() - start;
  close(silent);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_LT(took, std::chrono::milliseconds(4000));
}

}  // namespace
}  // namespace brantel
