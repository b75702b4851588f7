// The base of the viewer's screens: full screen, the input-panel button,
// the rotation lock on activation and deactivation, the setting-change
// rules, and a child screen that is not made full screen.

#include <gtest/gtest.h>

#include "app/common/base_screen_dlg.h"
#include "app/rotation.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/shell.h"
#include "protocol/registry_key.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

uint32_t AutoOrientation() {
  RegistryKey key;
  uint32_t value = 99;
  key.Open(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor");
  key.QueryDword(u"AutoOrientation", &value);
  return value;
}

TEST(BaseScreen, FullScreenInputPanelButtonRotationLockAndSettingChanges) {
  testing::TempDataFolder data;
  ResetRotationStateForTesting();
  {
    RegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor"));
    key.SetDword(u"AutoOrientation", 1);
  }
  CBaseScreenDlg screen, child;
  ShowInputPanelButton(true);
  ASSERT_TRUE(screen.CreateModeless());
  EXPECT_TRUE(IsFullScreenDialog(screen.hwnd()));
  EXPECT_FALSE(IsInputPanelButtonVisible());
  SetActiveWindow(screen.hwnd());
  EXPECT_EQ(AutoOrientation(), 0u);  // the lock while the viewer is in front

  // The input panel's own changes and the screen turning leave the button
  // alone; any other setting change hides it again.
  for (WPARAM kept : {WPARAM(224), WPARAM(223), WPARAM(250), WPARAM(12290)}) {
    ShowInputPanelButton(true);
    screen.Send(WM_SETTINGCHANGE, kept, 0);
    EXPECT_TRUE(IsInputPanelButtonVisible()) << kept;
  }
  ShowInputPanelButton(true);
  screen.Send(WM_SETTINGCHANGE, 0x1A, 0);
  EXPECT_FALSE(IsInputPanelButtonVisible());

  // A child screen stays where it is put; deactivation with no window
  // becoming active gives the user's setting back.
  ASSERT_TRUE(child.CreateChild(&screen, Rect{0, 88, 480, 748}));
  EXPECT_FALSE(IsFullScreenDialog(child.hwnd()));
  child.Show(SW_SHOW);
  SetActiveWindow(0);
  EXPECT_EQ(AutoOrientation(), 1u);
  screen.Destroy();
}

}  // namespace
}  // namespace brantel
