#include "platform/device/accelerometer_rotation.h"

#include <systemd/sd-bus.h>

#include <cstring>
#include <string>

#include "platform/ui/motion_sensor.h"

namespace brantel {

namespace {

constexpr const char* kService = "net.hadess.SensorProxy";
constexpr const char* kPath = "/net/hadess/SensorProxy";
constexpr const char* kOrientation = "AccelerometerOrientation";

void WriteOrientation(std::string_view orientation) {
  const int degrees = RotationForOrientation(orientation);
  if (degrees >= 0 && degrees != ReadMotionSensorRotation()) WriteMotionSensorRotation(degrees);
}

// PropertiesChanged (sa{sv}as): the orientation when the change names it.
void OnPropertiesChanged(sd_bus_message* m) {
  const char* interface = nullptr;
  if (sd_bus_message_read(m, "s", &interface) < 0 || std::strcmp(interface, kService) != 0) return;
  if (sd_bus_message_enter_container(m, 'a', "{sv}") < 0) return;
  while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
    const char* name = nullptr;
    if (sd_bus_message_read(m, "s", &name) < 0) return;
    if (std::strcmp(name, kOrientation) == 0) {
      const char* value = nullptr;
      if (sd_bus_message_read(m, "v", "s", &value) >= 0 && value) WriteOrientation(value);
    } else if (sd_bus_message_skip(m, "v") < 0) {
      return;
    }
    if (sd_bus_message_exit_container(m) < 0) return;
  }
}

bool HasAccelerometer(SystemBus& bus) {
  int has = 0;
  const bool ok = bus.Call(
      {kService, kPath, "org.freedesktop.DBus.Properties", "Get"},
      [](sd_bus_message* m) { return sd_bus_message_append(m, "ss", kService, "HasAccelerometer"); },
      [&](sd_bus_message* m) { return sd_bus_message_read(m, "v", "b", &has); });
  return ok && has;
}

}  // namespace

int RotationForOrientation(std::string_view orientation) {
  if (orientation == "normal" || orientation == "bottom-up") return 0;
  if (orientation == "left-up") return 90;
  if (orientation == "right-up") return 270;
  return -1;
}

bool AccelerometerRotation::Start() {
  return watch_.Start(
      nullptr, kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
      [](SystemBus& bus) {
        if (!HasAccelerometer(bus)) return false;
        if (!bus.Call({kService, kPath, kService, "ClaimAccelerometer"}, nullptr, nullptr)) return false;
        if (auto now = bus.GetStringProperty({kService, kPath, kService, kOrientation})) WriteOrientation(*now);
        return true;
      },
      &OnPropertiesChanged);
}

}  // namespace brantel
