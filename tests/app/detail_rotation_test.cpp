// The stock detail turning with the motion sensor and command 40014, the
// period menu across a turn, what closing gives back, and screenshots of
// each view.

#include <filesystem>

#include "platform/ui/motion_sensor.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "protocol/registry_key.h"
#include "tests/app/detail_test_support.h"

namespace brantel {
namespace {

using testing::DetailTest;
using testing::RunFor;
using testing::RunUntil;
using testing::SamsungRow;

// Screenshots go to $BRANTEL_SCREENSHOT_DIR when it is set, else beside the build.
std::string ShotPath(const std::string& name) {
  const char* env = std::getenv("BRANTEL_SCREENSHOT_DIR");
  const std::string dir = env && *env ? env : testing::BinDir() + "/../detail-screens";
  std::filesystem::create_directories(dir);
  return dir + "/" + name;
}

void Shot(const std::string& name) {
  InputScript script;
  script.Idle().Screenshot(ShotPath(name));
  ASSERT_TRUE(PlayScript(script));
  EXPECT_EQ(ScriptScreenshotFailures(), 0);
}

TEST_F(DetailTest, SensorTurnsTheDetailAndClosingGivesTheSettingBack) {
  RegistryKey sensor;
  ASSERT_TRUE(sensor.Create(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor"));
  sensor.SetDword(u"AutoOrientation", 0);
  WriteMotionSensorRotation(0);
  StockRecord row = SamsungRow();
  row.codename = u"삼성전자 & Co";  // "&" must show as it is
  CMStockDetailDlg& d = OpenAndLoad(row);
  EXPECT_TRUE(GetAutoOrientation());  // the sensor may turn the display now
  EXPECT_EQ(d.rect(), (Rect{0, 52, 480, 800}));
  Shot("detail-portrait.png");
  // A slow drag up scrolls the panel to the daily rows.
  InputScript drag;
  drag.Press(240, 650).Move(240, 550, 100).Move(240, 450, 100).Move(240, 350, 100).Move(240, 250, 100).Release();
  drag.Wait(200).Idle();
  ASSERT_TRUE(PlayScript(drag));
  EXPECT_GE(d.panel().VerticalPosition(), 300);
  Shot("detail-portrait-daily.png");

  ASSERT_TRUE(WriteMotionSensorRotation(90));
  ASSERT_TRUE(RunUntil([&] { return d.view().landscape; }));
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_270);
  EXPECT_EQ(GetScreenSize().cx, 800);
  EXPECT_FALSE(IsSystemBarVisible());
  EXPECT_EQ(d.rect(), (Rect{0, 0, 800, 480}));
  EXPECT_FALSE(d.panel().IsVisibleFlag());
  EXPECT_EQ(d.large_chart().width(), 800);
  Shot("detail-landscape.png");

  // The period menu, then a turn back to portrait closes it.
  InputScript open_menu;
  open_menu.Tap(744, 188).Wait(200).Press(550, 194).Idle().Screenshot(ShotPath("detail-period-menu.png"));
  ASSERT_TRUE(PlayScript(open_menu));
  ASSERT_NE(d.period_menu(), nullptr);
  ASSERT_TRUE(WriteMotionSensorRotation(0));
  ASSERT_TRUE(RunUntil([&] { return !d.view().landscape; }));
  EXPECT_EQ(d.period_menu(), nullptr);
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);
  EXPECT_TRUE(IsSystemBarVisible());
  EXPECT_EQ(d.rect(), (Rect{0, 52, 480, 800}));
  EXPECT_TRUE(d.panel().IsVisibleFlag());

  // 270 turns the other way; a rotation message that is not the watch's is ignored.
  ASSERT_TRUE(WriteMotionSensorRotation(270));
  ASSERT_TRUE(RunUntil([&] { return d.view().landscape; }));
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_90);
  d.Post(WM_ROTATION_CHANGED, 0, 5);
  RunFor(50);
  EXPECT_TRUE(d.view().landscape);

  // Closing in landscape: the user's setting and portrait come back.
  d.Post(WM_COMMAND, kCmdClose, 0);
  ASSERT_TRUE(RunUntil([&] { return !owner_.detail; }));
  EXPECT_FALSE(GetAutoOrientation());
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);
  EXPECT_TRUE(IsSystemBarVisible());
}

TEST_F(DetailTest, CommandsAndChartTap) {
  CMStockDetailDlg& d = OpenAndLoad(SamsungRow());
  // Exit goes to the owner; the version dialog opens and goes on its close message.
  d.Post(WM_COMMAND, kCmdExit, 0);
  d.Post(WM_COMMAND, kCmdVersion, 0);
  ASSERT_TRUE(RunUntil([&] { return owner_.last_command == kCmdExit && d.version_dialog(); }));
  d.version_dialog()->Post(WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(RunUntil([&] { return !d.version_dialog(); }));
  // The back key on the version dialog closes that dialog, not the detail.
  d.Post(WM_COMMAND, kCmdVersion, 0);
  ASSERT_TRUE(RunUntil([&] { return d.version_dialog() != nullptr; }));
  d.version_dialog()->Post(WM_BACK_KEY);
  ASSERT_TRUE(RunUntil([&] { return !d.version_dialog(); }));
  EXPECT_EQ(owner_.closed_messages, 0);

  d.Post(WM_COMMAND, kCmdLandscape, 0);
  ASSERT_TRUE(RunUntil([&] { return d.view().landscape; }));
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_270);
  d.Post(WM_ROTATION_CHANGED, 0, kRotationChangedTag);
  ASSERT_TRUE(RunUntil([&] { return !d.view().landscape; }));

  // A tap on the small chart (panel at y 75 in the dialog at y 52).
  InputScript tap;
  tap.Tap(120, 52 + 75 + 300).Idle();
  ASSERT_TRUE(PlayScript(tap));
  ASSERT_TRUE(RunUntil([&] { return d.view().landscape; }));

  // The system keys: end, talk and the close request ask the owner to exit;
  // back closes the detail once, however often it comes.
  for (uint32_t key : {WM_END_KEY, WM_TALK_KEY, WM_CLOSE_REQUEST}) d.Post(key);
  ASSERT_TRUE(RunUntil([&] { return owner_.exit_commands == 4; }));
  d.Post(WM_BACK_KEY);
  d.Post(WM_BACK_KEY);
  ASSERT_TRUE(RunUntil([&] { return !owner_.detail; }));
  RunFor(50);
  EXPECT_EQ(owner_.closed_messages, 1);
}

}  // namespace
}  // namespace brantel
