#include "app/rotation.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/ui/message_queue.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using namespace std::chrono_literals;

class RotationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRotationStateForTesting();
    SetDisplayOrientation(DISPLAY_ORIENTATION_0);
  }

  // The device's state before the viewer starts.
  void DeviceHas(bool auto_orientation, bool gdi_key = true) {
    RegistryKey key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor"));
    key.SetDword(u"AutoOrientation", auto_orientation ? 1 : 0);
    key.SetDword(u"ForcedOrientation", auto_orientation ? 0 : 1);
    if (gdi_key) {
      RegistryKey gdi;
      ASSERT_TRUE(gdi.Create(HKEY_LOCAL_MACHINE, u"SYSTEM\\GDI\\ROTATION"));
      gdi.SetDword(u"Angle", 90);
      gdi.SetDword(u"LandscapeMode", 0);
      gdi.SetDword(u"LandscapeFixed", 1);
    }
  }
  static uint32_t Dword(RegRoot root, const char16_t* path, const char16_t* name) {
    RegistryKey key(root);
    uint32_t v = 0xDEAD;
    if (!key.Open(root, path) || !key.QueryDword(name, &v)) return 0xDEAD;
    return v;
  }
  static uint32_t Auto() { return Dword(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor", u"AutoOrientation"); }
  static uint32_t Forced() { return Dword(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor", u"ForcedOrientation"); }
  static void WriteRotation(uint32_t angle) {
    RegistryKey key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, u"Software\\BRANTEL\\MotionSettings"));
    ASSERT_TRUE(key.SetDword(u"Rotation", angle));
  }
  testing::TempDataFolder home_{"brantel-rotation"};
};

TEST_F(RotationTest, AutoOrientationOffBeforeStartIsOnlyOnDuringADetail) {
  DeviceHas(false);
  {
    ViewerRotationLock viewer;
    EXPECT_EQ(Auto(), 0u);
    ApplyRotationLock(true, false);
    ApplyRotationLock(false, false);  // leaving: nothing to give back
    EXPECT_EQ(Auto(), 0u);
    {
      DetailRotation detail(0);
      EXPECT_EQ(Auto(), 1u);
      EXPECT_EQ(Forced(), 0u);
    }
    EXPECT_EQ(Auto(), 0u);
    EXPECT_EQ(Forced(), 1u);
  }
  EXPECT_EQ(Auto(), 0u);
  EXPECT_FALSE(GetAutoOrientation());
}

TEST_F(RotationTest, AutoOrientationOnBeforeStartIsOffWhileTheViewerRuns) {
  DeviceHas(true);
  SetDisplayOrientation(DISPLAY_ORIENTATION_90);
  {
    ViewerRotationLock viewer;
    EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);
    EXPECT_EQ(Auto(), 0u);
    EXPECT_EQ(Forced(), 1u);
    EXPECT_EQ(Dword(HKEY_LOCAL_MACHINE, u"SYSTEM\\GDI\\ROTATION", u"Angle"), 0u);
    EXPECT_EQ(Dword(HKEY_LOCAL_MACHINE, u"SYSTEM\\GDI\\ROTATION", u"LandscapeMode"), 1u);
    EXPECT_EQ(Dword(HKEY_LOCAL_MACHINE, u"SYSTEM\\GDI\\ROTATION", u"LandscapeFixed"), 0u);
    ApplyRotationLock(true, false);
    EXPECT_EQ(Auto(), 0u);
  }
  EXPECT_EQ(Auto(), 1u);
  EXPECT_EQ(Forced(), 0u);
}

TEST_F(RotationTest, TheLockGivesBackOnlyWhatTheViewerSwitchedOff) {
  DeviceHas(true);
  SetDisplayOrientation(DISPLAY_ORIENTATION_270);
  ApplyRotationLock(true, false);  // activated while the sensor was on
  EXPECT_EQ(Auto(), 0u);
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);
  ApplyRotationLock(false, true);  // another window of ours becomes active
  EXPECT_EQ(Auto(), 0u);
  ApplyRotationLock(false, false);  // the viewer leaves the front
  EXPECT_EQ(Auto(), 1u);
  EXPECT_EQ(Forced(), 0u);
}

TEST_F(RotationTest, MissingKeysAreSkippedAndNeverCreated) {
  SetDisplayOrientation(DISPLAY_ORIENTATION_90);
  ApplyRotationLock(true, false);
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_90);  // nothing happens without the key
  SetAutoOrientation(true);
  EXPECT_FALSE(GetAutoOrientation());
  EXPECT_EQ(Auto(), 0xDEADu);
  ForcePortrait();
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);
  EXPECT_EQ(Dword(HKEY_LOCAL_MACHINE, u"SYSTEM\\GDI\\ROTATION", u"Angle"), 0xDEADu);
}

TEST_F(RotationTest, SensorAnglesTurnTheDisplay) {
  EXPECT_TRUE(RotateDisplay(90));
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_270);
  EXPECT_TRUE(RotateDisplay(270));
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_90);
  EXPECT_FALSE(RotateDisplay(180));  // back to portrait
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);

  RotateDisplay(90);
  EXPECT_FALSE(HandleRotationMessage(0, 8140).has_value());
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_270);
  EXPECT_EQ(HandleRotationMessage(0, kRotationChangedTag), std::optional<bool>(false));
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);
}

TEST_F(RotationTest, ADetailHearsTheSensorAsAWindowMessage) {
  DeviceHas(false);
  std::atomic<uint32_t> heard{0xFFFF};
  {
    RegistryWatch watch = WatchRotation([&](uint32_t angle) { heard = angle; });
    WriteRotation(270);
    for (int i = 0; i < 3000 && heard == 0xFFFF; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(heard.load(), 270u);
  }

  std::vector<std::pair<WPARAM, LPARAM>> got;
  MessageOnlyWindow window([&](uint32_t message, WPARAM wp, LPARAM lp) -> LRESULT {
    if (message == WM_ROTATION_CHANGED) {
      got.emplace_back(wp, lp);
      HandleRotationMessage(wp, lp);
    }
    return 0;
  });
  {
    DetailRotation detail(window.hwnd());
    WriteRotation(90);
    Message msg;
    for (int i = 0; i < 3000 && got.empty(); ++i) {
      while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
      std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].first, 90u);
    EXPECT_EQ(got[0].second, kRotationChangedTag);
    EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_270);
  }
  // Closing the detail returns to portrait and ends the watch.
  EXPECT_EQ(GetDisplayOrientation(), DISPLAY_ORIENTATION_0);
  WriteRotation(270);
  std::this_thread::sleep_for(200ms);
  Message msg;
  while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(got.size(), 1u);
}

}  // namespace
}  // namespace brantel
