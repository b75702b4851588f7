#pragma once
// The machine's accelerometer as the motion sensor: where the compositor
// does not turn windows, iio-sensor-proxy (net.hadess.SensorProxy on the
// system bus) tells how the machine is held; each change of its
// orientation writes the motion sensor's Rotation, as turning the phone
// would. The accelerometer is claimed while the watch runs.

#include <string_view>

#include "platform/dbus/system_bus.h"

namespace brantel {

// "normal" and "bottom-up" are upright (0), "left-up" 90, "right-up" 270;
// -1 for "undefined" or anything else (the angle stays).
int RotationForOrientation(std::string_view orientation);

class AccelerometerRotation {
 public:
  // Claims the accelerometer, writes its orientation now and follows it.
  // False, with nothing running, without the service or an accelerometer.
  bool Start();
  void Stop() { watch_.Stop(); }
  bool running() const { return watch_.running(); }

 private:
  BusWatch watch_;
};

}  // namespace brantel
