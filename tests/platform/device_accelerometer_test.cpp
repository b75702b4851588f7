// iio-sensor-proxy's accelerometer (python3-dbusmock's template on a
// private system bus) writes the motion sensor as it turns.
#include <systemd/sd-bus.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/device/accelerometer_rotation.h"
#include "platform/ui/motion_sensor.h"
#include "private_system_bus.h"
#include "tests/support/registry_test_support.h"

namespace brantel {
namespace {

constexpr const char* kService = "net.hadess.SensorProxy";

bool WaitForRotation(int degrees) {
  // Generous: the mock's signal can be slow beside a build or another test.
  for (int i = 0; i < 1000; ++i) {
    if (ReadMotionSensorRotation() == degrees) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void Turn(const char* orientation) {
  SystemBus bus;
  ASSERT_TRUE(bus.Call({kService, "/net/hadess/SensorProxy", "org.freedesktop.DBus.Mock", "SetInternalProperty"},
                       [&](sd_bus_message* m) {
                         return sd_bus_message_append(m, "ssv", kService, "AccelerometerOrientation", "s",
                                                      orientation);
                       },
                       nullptr, std::chrono::seconds(5)))
      << bus.last_error();
}

TEST(AccelerometerTest, OrientationChangesWriteTheRotation) {
  testing::TempDataFolder folder;
  testing::PrivateSystemBus bus;
  ASSERT_TRUE(bus.StartService("iio-sensors-proxy", kService,
                               R"({"has_accelerometer": true, "accelerometer_orientation": "left-up"})"));
  AccelerometerRotation accelerometer;
  ASSERT_TRUE(accelerometer.Start());
  EXPECT_EQ(ReadMotionSensorRotation(), 90);  // the orientation at the start
  Turn("right-up");
  EXPECT_TRUE(WaitForRotation(270));
  Turn("undefined");  // flat on the table: stays
  Turn("normal");
  EXPECT_TRUE(WaitForRotation(0));
  Turn("left-up");
  EXPECT_TRUE(WaitForRotation(90));
  accelerometer.Stop();
  Turn("normal");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(ReadMotionSensorRotation(), 90);  // no longer followed
}

TEST(AccelerometerTest, NoAccelerometerOrNoServiceStartsNothing) {
  testing::TempDataFolder folder;
  testing::PrivateSystemBus bus;
  AccelerometerRotation accelerometer;
  EXPECT_FALSE(accelerometer.Start());
  ASSERT_TRUE(bus.StartService("iio-sensors-proxy", kService));
  EXPECT_FALSE(accelerometer.Start());
  EXPECT_FALSE(accelerometer.running());
}

}  // namespace
}  // namespace brantel
