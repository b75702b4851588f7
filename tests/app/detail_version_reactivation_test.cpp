// The stock detail's version dialog (its lines, closing from its own menu
// command), and the detail coming back to portrait when it is activated
// again with no window of this program before it, but not when one of its
// own windows hands activation back.

#include <filesystem>

#include "app/dialogs/version_text.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "tests/app/detail_test_support.h"

namespace brantel {
namespace {

using testing::DetailTest;
using testing::RunUntil;
using testing::SamsungRow;

constexpr uint32_t kVersionCloseCommand = 40018;

TEST_F(DetailTest, VersionDialogAndPortraitOnReactivation) {
  testing::WriteFile(VersionInfoPath(), "BrantelStock 1.0\r\n\r\nsecond line\n");
  CMStockDetailDlg& d = OpenAndLoad(SamsungRow());
  d.Post(WM_COMMAND, kCmdVersion, 0);
  ASSERT_TRUE(RunUntil([&] { return d.version_dialog() != nullptr; }));
  CVersionInfoDlg& version = *d.version_dialog();
  EXPECT_TRUE(version.IsVisible());
  EXPECT_EQ(version.rows(), (std::vector<WideText>{u"BrantelStock 1.0", u"second line"}));
  EXPECT_EQ(version.title(), ProcessResources()->String(kVersionTitleString));
  if (const char* dir = std::getenv("BRANTEL_SCREENSHOT_DIR")) {
    InputScript shot;
    shot.Idle().Screenshot(std::string(dir) + "/detail-version.png");
    ASSERT_TRUE(PlayScript(shot));
  }
  version.Post(WM_COMMAND, kVersionCloseCommand, 0);
  ASSERT_TRUE(RunUntil([&] { return !d.version_dialog(); }));
  EXPECT_TRUE(d.IsVisible());
  std::filesystem::remove(VersionInfoPath());

  // Landscape; another window of this program takes activation and gives it
  // back: the detail stays turned.
  d.Post(WM_COMMAND, kCmdLandscape, 0);
  ASSERT_TRUE(RunUntil([&] { return d.view().landscape; }));
  Window other;
  ASSERT_TRUE(other.Create(u"OtherTop", u"other", WS_VISIBLE, Rect{0, 0, 10, 10}));
  SetActiveWindow(other.hwnd());
  SetActiveWindow(d.hwnd());
  testing::RunFor(50);
  EXPECT_TRUE(d.view().landscape);
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_270);
  other.Destroy();

  // The user went to another program and came back: portrait again.
  SetActiveWindow(0);
  SetActiveWindow(d.hwnd());
  ASSERT_TRUE(RunUntil([&] { return !d.view().landscape; }));
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);
  EXPECT_TRUE(IsSystemBarVisible());
  EXPECT_EQ(d.rect(), (Rect{0, 52, 480, 800}));
  EXPECT_TRUE(d.panel().IsVisibleFlag());
}

}  // namespace
}  // namespace brantel
