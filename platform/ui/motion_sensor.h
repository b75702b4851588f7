#pragma once
// The virtual motion sensor: the angle the phone is held at, kept where the
// device keeps it (HKEY_CURRENT_USER "Software\BRANTEL\MotionSettings",
// REG_DWORD "Rotation": 0, 90 or 270). The SDL key and the scripts turn the
// phone by writing it; the viewer watches the value and turns the display.
// On a phone the system turns it: the window's shape (a compositor that
// turns the screen gives the window the other shape) and the accelerometer
// (platform/device/accelerometer_rotation.h) write the value the same way.



namespace brantel {

inline constexpr char kMotionSettingsKey[] = "Software\\BRANTEL\\MotionSettings";
inline constexpr char kMotionRotationValue[] = "Rotation";

// Writes the sensor's angle; false for another angle or when the registry
// cannot be written.
bool WriteMotionSensorRotation(int degrees);
// The stored angle; 0 when missing.
int ReadMotionSensorRotation();
// The next angle of the sensor key: 0 -> 90 -> 270 -> 0.
int NextMotionSensorRotation(int degrees);

// The angle a window of `width` x `height` means: portrait is upright (0);
// landscape is turned, keeping the side it is turned to (`current` 90 or
// 270), else 90. A square window keeps `current`.
int RotationForWindowShape(int width, int height, int current);
// Writes the angle the window's shape means when it differs from the stored one.
void FollowWindowShape(int width, int height);

}  // namespace brantel
