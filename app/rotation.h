#pragma once
// Screen rotation: the viewer keeps the display in portrait while it is in
// front, lets the stock detail turn the display with the motion sensor, and
// gives the user's auto-orientation setting back when it is done.
//
// Registry places (all 32-bit numbers):
//   HKEY_CURRENT_USER "ControlPanel\MotionSensor": AutoOrientation, ForcedOrientation
//   HKEY_LOCAL_MACHINE "SYSTEM\GDI\ROTATION": Angle, LandscapeMode, LandscapeFixed
//   HKEY_CURRENT_USER "Software\BRANTEL\MotionSettings": Rotation (0, 90, 270),
//     the sensor's angle, watched while a stock detail is open.
// Keys that do not exist are skipped; none of them is created here.

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/registry/registry_watch.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// LPARAM of WM_ROTATION_CHANGED; a message with another LPARAM is not ours.
inline constexpr LPARAM kRotationChangedTag = 8141;

// True only when AutoOrientation exists and is 1.
bool GetAutoOrientation();
// On: AutoOrientation 1, ForcedOrientation 0; off: 0 and 1.
void SetAutoOrientation(bool on);
// Portrait display now, and the GDI rotation values of a portrait display.
void ForcePortrait();

// Called by each full-screen dialog of the viewer when it is activated
// (`activated`) or deactivated; `next_window_known` tells whether the window
// that becomes active is known. Switches the sensor off while the viewer is
// in front and gives it back when the viewer leaves.
void ApplyRotationLock(bool activated, bool next_window_known);

// Turns the display for a sensor angle: 90 gives orientation 4, 270 gives 1,
// anything else portrait (0). Returns true for the landscape angles.
bool RotateDisplay(uint32_t angle);

// What the stock detail does with WM_ROTATION_CHANGED: nothing (nullopt)
// when LPARAM is not kRotationChangedTag, else RotateDisplay(WPARAM).
std::optional<bool> HandleRotationMessage(WPARAM wparam, LPARAM lparam);

// Calls `on_angle` (on the registry watcher's thread) with the Rotation
// value each time it changes, in this process or another.
RegistryWatch WatchRotation(std::function<void(uint32_t angle)> on_angle);
// The same, delivered to `hwnd` as WM_ROTATION_CHANGED with the angle as
// WPARAM and kRotationChangedTag as LPARAM.
RegistryWatch WatchRotation(HWND hwnd);

// The main dialog's share: switches the sensor off and forces portrait for
// the life of the object, then restores the user's setting.
class ViewerRotationLock {
 public:
  ViewerRotationLock();
  ~ViewerRotationLock();
  ViewerRotationLock(const ViewerRotationLock&) = delete;
  ViewerRotationLock& operator=(const ViewerRotationLock&) = delete;

 private:
  bool remembered_;
};

// The stock detail's share: lets the sensor turn the display and watches
// Rotation while the object lives; at the end restores the setting, ends
// the watch and returns to portrait.
class DetailRotation {
 public:
  explicit DetailRotation(HWND detail);
  ~DetailRotation();
  DetailRotation(const DetailRotation&) = delete;
  DetailRotation& operator=(const DetailRotation&) = delete;

 private:
  bool remembered_;
  RegistryWatch watch_;
};

// The switched-off-by-the-viewer flag, for tests that begin a new run.
void ResetRotationStateForTesting();

}  // namespace brantel
