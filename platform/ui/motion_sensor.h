#pragma once
// The virtual motion sensor: the angle the phone is held at, kept where the
// device keeps it (HKEY_CURRENT_USER "Software\BRANTEL\MotionSettings",
// REG_DWORD "Rotation": 0, 90 or 270). The SDL key and the scripts turn the
// phone by writing it; the viewer watches the value and turns the display.



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

}  // namespace brantel
