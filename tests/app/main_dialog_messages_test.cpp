// The viewer's main dialog run in this process against the reference
// server, so what a separate process cannot see is read directly: the
// answer of message 0x800C, and the input panel as the tabs switch to the
// search screen and away from it. WM_APP_EXIT then ends the run.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "app/server_selection.h"
#include "app/startup/stock_app.h"
#include "app/startup/stock_main_dlg.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/script_player.h"
#include "platform/ui/shell.h"
#include "platform/ui/window.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

void SetNumber(RegRoot root, WideView path, WideView name, uint32_t value) {
  RegistryKey key;
  ASSERT_TRUE(key.Create(root, path));
  ASSERT_TRUE(key.SetDword(name, value));
}

TEST(MainDialogInProcess, Query800CInputPanelOnTheSearchTabAndExitMessage) {
  testing::TempDataFolder home("brantel-main-dialog");
  testing::TempFolder program("brantel-main-program");
  testing::QuoteServerProcess server;
  ASSERT_TRUE(server.started()) << server.why_not();
  const std::string folder = program.path() + "/";
  std::filesystem::copy_file(testing::BinDir() + "/stock_resource.so", folder + "stock_resource.so");
  const std::string port = std::to_string(server.port());
  testing::WriteFile(folder + "Config_MNUV.txt",
                     "[SELECT_SERVER]\r\nserver_type=0\r\n[SERVER_0]\r\nserver_ip=127.0.0.1\r\nserver_port=" + port +
                         "\r\n[UPDATE]\r\nuri=/update/\r\nport=" + port + "\r\n");
  SetProgramFolderForTesting(folder);
  // No help dialog, no connection question.
  SetNumber(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock", u"display_info", 1);
  SetNumber(HKEY_LOCAL_MACHINE, u"System\\State\\Hardware", u"Cradled", 1);
  ASSERT_TRUE(StartDisplayWith(std::make_unique<HeadlessBackend>(), true));

  LRESULT query_answer = 0;
  bool panel_on_mypage = true, panel_on_search = false, panel_after_search = true;
  bool search_shown = false;
  auto main_dialog = [] { return FindWindow(kViewerWindowClass, u""); };
  InputScript script;
  script.Wait(2500).Idle().Call([&] {
    query_answer = SendMessage(main_dialog(), kMainDialogQuery, 0, 0);
    panel_on_mypage = IsInputPanelUp();
  });
  script.Tap(395, 96).Idle().Call([&] {
    panel_on_search = IsInputPanelUp();
    auto* dialog = static_cast<CStockMainDlg*>(WindowFromHandle(main_dialog()));
    search_shown = dialog && dialog->current_screen() && dialog->current_screen()->IsVisible();
  });
  script.Tap(85, 96).Idle().Call([&] { panel_after_search = IsInputPanelUp(); });
  script.Call([&] { PostMessage(main_dialog(), WM_APP_EXIT, 0, 0); });
  // Only reached when WM_APP_EXIT did not end the viewer.
  script.Wait(10000).Quit();
  ASSERT_TRUE(StartScript(std::move(script.steps())));

  const auto start = std::chrono::steady_clock::now();
  const int code = CStockApp(u"UPDATE_USER_CANCEL").Run();
  const auto took = std::chrono::steady_clock::now() - start;
  const bool script_done = IsScriptDone();
  StopScript();
  StopDisplay();
  PumpPendingMessages();
  SetProcessResourcesForTesting(nullptr);
  SetProgramFolderForTesting("");

  EXPECT_EQ(code, 0);
  EXPECT_EQ(query_answer, 1);
  EXPECT_FALSE(panel_on_mypage);
  EXPECT_TRUE(search_shown);
  EXPECT_TRUE(panel_on_search) << "the search screen did not raise the input panel";
  EXPECT_FALSE(panel_after_search) << "leaving the search screen did not lower the input panel";
  EXPECT_FALSE(script_done) << "WM_APP_EXIT did not end the viewer";
  EXPECT_LT(took, std::chrono::seconds(12));
}

}  // namespace
}  // namespace brantel
