// StockUpdater as a program, the way the viewer starts it: a helper program
// is running; the updater installs a sample release published by the
// reference server, closes the helper
// through its window class (across processes) and restarts it with the
// marker. A second run finds nothing to do.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/folders.h"
#include "platform/process/other_programs.h"
#include "tests/support/temp_folder.h"
#include "tests/updater/reference_server.h"
#include "updater/updater_registry.h"

namespace brantel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

std::string BinDir() {
  const char* dir = std::getenv("BRANTEL_BIN_DIR");
  return dir && *dir ? dir : BRANTEL_BIN_DIR;
}

bool WaitFor(const std::function<bool()>& condition, int ms) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

TEST(UpdaterProgram, InstallsAReleaseClosesTheHelperAndRestartsItWithTheMarker) {
  TempFolder dir;
  setenv("BRANTEL_HOME", (dir / "data").c_str(), 1);
  setenv("BRANTEL_DISPLAY", "headless", 1);
  const std::string log = dir / "helper.log";
  setenv("HELPER_LOG", log.c_str(), 1);
  const std::string viewer = dir / "viewer/";
  std::filesystem::create_directories(viewer);
  std::filesystem::copy_file(std::string(BRANTEL_TEST_BIN_DIR) + "/updater_test_helper", viewer + "helper");
  WriteFile(viewer + "notes.txt", "old notes");

  WriteFile(dir / "www/.keep", "");
  testing::ReferenceServer server(dir / "www");
  ASSERT_TRUE(server.started()) << server.why_not();
  WriteFile(dir / "www/rel/notes.txt", "new notes");
  WriteFile(dir / "www/rel/keys.reg",
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Helper]\r\n\"Mode\"=dword:00000002\r\n");
  WriteFile(dir / "www/rel/m.xml",
            "<update><head update_date=\"2026120900\" update_option=\"/k\" "
            "kill_process=\"[cnt]1[/cnt][1]Helper_Class;NULL_NAME;32778;\\TARGET-DIRECTORY\\helper;[/1]\"/><body>"
            "<update_file name=\"notes.txt\"><file_Info down_url=\"" + server.url("/rel/notes.txt") +
            "\" local_path=\"\\TARGET-DIRECTORY\\notes.txt\" file_size=\"9\" file_version=\"2\"/></update_file>"
            "<update_file name=\"keys.reg\"><file_Info down_url=\"" + server.url("/rel/keys.reg") +
            "\" file_version=\"1\" is_reg_file=\"Y\"/></update_file>"
            "<reg_edit reg_edit_type=\"1\" hKey=\"2\" key=\"SOFTWARE\\Helper\" value_name=\"Channel\" value_type=\"1\" "
            "value=\"demo\"/>"
            "<file_edit file_edit_type=\"3\" path_1=\"\\TARGET-DIRECTORY\\notes.txt\" "
            "path_2=\"\\TARGET-DIRECTORY\\notes.bak\"/>"
            "</body></update>");

  // The helper runs and shows its window.
  StartedProgram helper = StartProgram(viewer + "helper", "first", false);
  ASSERT_TRUE(helper.started);
  ASSERT_TRUE(WaitFor([] { return FindPublishedWindow(u"Helper_Class", u"", true).has_value(); }, 5000))
      << "the helper's window never appeared";

  const std::string command_line = viewer + "|" + server.url("/rel/m.xml");
  StartedProgram updater = StartProgram(BinDir() + "/StockUpdater", command_line, true);
  ASSERT_TRUE(updater.started);
  EXPECT_EQ(updater.exit_code, 0);
  int helper_exit = -1;
  EXPECT_TRUE(WaitForProgram(helper.pid, 5000, &helper_exit)) << "the helper was not closed";
  ASSERT_TRUE(WaitFor([&] { return ReadFile(log).find("started [ STOCK_AUTO_UPDATE ]") != std::string::npos; }, 5000))
      << ReadFile(log);
  EXPECT_EQ(ReadFile(log), "started first\nwindow\nclosing\nstarted [ STOCK_AUTO_UPDATE ]\n");

  EXPECT_EQ(ReadFile(viewer + "notes.txt"), "new notes");
  EXPECT_EQ(ReadFile(viewer + "notes.bak"), "new notes");
  EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Helper", "Channel", 100), u"demo");
  const std::optional<RegValue> mode = ReadRegistryValue(HKEY_CURRENT_USER, "Software\\Helper", "Mode");
  ASSERT_TRUE(mode);
  EXPECT_EQ(mode->type, REG_DWORD);
  EXPECT_EQ(ReadStoredUpgradeDate(), u"2026120900");
  EXPECT_EQ(ReadFile(dir / "data/q_stock_update.xml"), ReadFile(dir / "www/rel/m.xml"));

  // A second run finds nothing to do: it ends at once and starts nothing.
  const auto start = std::chrono::steady_clock::now();
  updater = StartProgram(BinDir() + "/StockUpdater", command_line, true);
  EXPECT_EQ(updater.exit_code, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(ReadFile(log), "started first\nwindow\nclosing\nstarted [ STOCK_AUTO_UPDATE ]\n");

  // An empty command line ends the program without a window.
  updater = StartProgram(BinDir() + "/StockUpdater", "", true);
  EXPECT_EQ(updater.exit_code, 0);
  unsetenv("HELPER_LOG");
  unsetenv("BRANTEL_HOME");
}

// A silent release whose file cannot be had, or that names a restart it may
// not make, fails in the exit status.
TEST(UpdaterProgram, SilentRunThatFailsSaysSoInItsExitStatus) {
  TempFolder dir;
  setenv("BRANTEL_HOME", (dir / "data").c_str(), 1);
  setenv("BRANTEL_DISPLAY", "headless", 1);
  const std::string viewer = dir / "viewer/";
  std::filesystem::create_directories(viewer);
  WriteFile(dir / "www/.keep", "");
  testing::ReferenceServer server(dir / "www");
  ASSERT_TRUE(server.started()) << server.why_not();
  WriteFile(dir / "www/rel/m.xml",
            "<update><head update_date=\"2026120900\" update_option=\"/s\"/><body>"
            "<update_file name=\"gone.txt\"><file_Info down_url=\"" + server.url("/rel/gone.txt") +
            "\" local_path=\"\\TARGET-DIRECTORY\\gone.txt\" file_version=\"1\"/></update_file>"
            "</body></update>");
  StartedProgram updater = StartProgram(BinDir() + "/StockUpdater", viewer + "|" + server.url("/rel/m.xml"), true);
  ASSERT_TRUE(updater.started);
  EXPECT_EQ(updater.exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(viewer + "gone.txt"));

  // A release that names a restart outside the viewer's folder is installed,
  // but that restart is refused and the exit status says so.
  WriteFile(dir / "www/rel/here.txt", "here");
  WriteFile(dir / "www/rel/k.xml",
            "<update><head update_date=\"2026120901\" update_option=\"/s/k\" "
            "kill_process=\"[cnt]1[/cnt][1]Any_Class;NULL_NAME;0;/bin/sh;-c x[/1]\"/><body>"
            "<update_file name=\"here.txt\"><file_Info down_url=\"" + server.url("/rel/here.txt") +
            "\" local_path=\"\\TARGET-DIRECTORY\\here.txt\" file_version=\"1\"/></update_file>"
            "</body></update>");
  updater = StartProgram(BinDir() + "/StockUpdater", viewer + "|" + server.url("/rel/k.xml"), true);
  EXPECT_EQ(updater.exit_code, 1);
  EXPECT_EQ(ReadFile(viewer + "here.txt"), "here");
  unsetenv("BRANTEL_HOME");
}

}  // namespace
}  // namespace brantel
