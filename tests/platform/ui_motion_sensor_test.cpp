// The virtual motion sensor in the registry, and registry watches turned
// into window messages.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/ui/message_queue.h"
#include "platform/ui/motion_sensor.h"
#include "platform/ui/registry_watch_message.h"
#include "tests/support/ui_test_support.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

constexpr uint32_t kRotationChanged = 0x3EFF;

class MotionSensor : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_.emplace("ui_motion");
  }
  static void TearDownTestSuite() { home_.reset(); }
  static inline std::optional<testing::TempDataFolder> home_;
};

bool WaitFor(uint32_t message, uint32_t ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  Message m;
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessage(&m, 0, 0, 0, PM_REMOVE)) {
      DispatchMessage(&m);
      if (m.message == message) return true;
    }
    WaitMessage(20);
  }
  return false;
}

TEST_F(MotionSensor, TheSensorKeyCyclesThroughTheThreeAngles) {
  EXPECT_EQ(NextMotionSensorRotation(0), 90);
  EXPECT_EQ(NextMotionSensorRotation(90), 270);
  EXPECT_EQ(NextMotionSensorRotation(270), 0);
  EXPECT_FALSE(WriteMotionSensorRotation(180));
  ASSERT_TRUE(WriteMotionSensorRotation(270));
  EXPECT_EQ(ReadMotionSensorRotation(), 270);
}

TEST_F(MotionSensor, AWatchPostsToTheWindowAndStopsWithIt) {
  testing::RecordingWindow w;
  ASSERT_TRUE(w.CreateTop(Rect{0, 0, 10, 10}, u"", false));
  RegistryWatch watch = WatchKeyWithMessage(HKEY_CURRENT_USER, kMotionSettingsKey, w.hwnd(), kRotationChanged, 1, 2);
  ASSERT_TRUE(watch.active());
  ASSERT_TRUE(WriteMotionSensorRotation(90));
  ASSERT_TRUE(WaitFor(kRotationChanged, 3000));
  auto got = w.Only(kRotationChanged);
  ASSERT_GE(got.size(), 1u);
  EXPECT_EQ(got[0].wParam, 1u);
  EXPECT_EQ(got[0].lParam, 2);
  // The window goes while the watch still runs: later changes are dropped.
  w.Destroy();
  ASSERT_TRUE(WriteMotionSensorRotation(0));
  EXPECT_FALSE(WaitFor(kRotationChanged, 300));
  watch.Stop();
}

}  // namespace
}  // namespace brantel
