// BrantelStock at start with a new updater waiting to be installed while
// the running updater never closes: it is asked six times, then the viewer
// goes on and leaves the hand-over for its next start.

#include <gtest/gtest.h>

#include "app/server_selection.h"
#include "app/startup/self_upgrade.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/other_programs_link.h"
#include "platform/ui/window.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"
#include "tests/app/self_upgrade_key.h"
#include "tests/support/ui_test_support.h"
#include "tests/support/viewer_process.h"

namespace brantel {
namespace {

TEST(SelfUpgradeUpdaterOpen, SixCloseRequestsThenEverythingStaysForTheNextStart) {
  testing::QuoteServerProcess server;
  ASSERT_TRUE(server.started()) << server.why_not();
  testing::ViewerProcess viewer;
  viewer.PointAt(server.port());
  {
    RegistryKey help;
    ASSERT_TRUE(help.Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock"));
    ASSERT_TRUE(help.SetDword(u"display_info", 1));
  }
  const std::string target = viewer.program_folder() + "StockUpdater";
  const std::string download = viewer.program_folder() + "update_temp/StockUpdater.tmp";
  testing::WriteFile(target, "old updater");
  testing::WriteFile(download, "new updater");
  testing::LeaveSelfUpgradeKey(download, target);
  viewer.SetScript("wait 4000\nidle\nquit\n");

  ASSERT_TRUE(ConnectToOtherPrograms());
  // An updater window that hears the close requests and stays.
  testing::RecordingWindow updater;
  ASSERT_TRUE(updater.Create(kUpdaterWindowClass, u"", WS_VISIBLE, Rect{0, 0, 10, 10}));
  // The updater's marker keeps the viewer from starting the (fake) updater.
  const testing::ViewerRun run = viewer.Run(20000, {"UPDATE_USER_CANCEL"});
  PumpPendingMessages();  // the posts that came while the viewer ran
  updater.Destroy();
  DisconnectFromOtherPrograms();

  ASSERT_FALSE(run.timed_out) << viewer.Log();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(updater.Count(WM_UPDATER_CLOSE), kUpdaterCloseRequests);
  EXPECT_EQ(testing::ReadFile(target), "old updater");
  EXPECT_EQ(testing::ReadFile(download), "new updater");
  EXPECT_TRUE(RegistryKey().Open(HKEY_LOCAL_MACHINE, kSelfUpgradeKey));
}

}  // namespace
}  // namespace brantel
