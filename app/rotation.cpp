#include "app/rotation.h"

#include <atomic>

#include "platform/registry/registry_store.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"

namespace brantel {

namespace {

constexpr char16_t kMotionSensorKey[] = u"ControlPanel\\MotionSensor";
constexpr char16_t kGdiRotationKey[] = u"SYSTEM\\GDI\\ROTATION";
constexpr char kMotionSettingsKey[] = "Software\\BRANTEL\\MotionSettings";

// Set when the viewer switched the user's auto-orientation off.
std::atomic<bool> g_switched_off_by_viewer{false};

void WriteAutoOrientation(RegistryKey& key, bool on) {
  key.SetDword(u"AutoOrientation", on ? 1 : 0);
  key.SetDword(u"ForcedOrientation", on ? 0 : 1);
}

std::optional<uint32_t> ReadRotation() {
  RegistryKey key(HKEY_CURRENT_USER);
  uint32_t angle = 0;
  if (!key.Open(HKEY_CURRENT_USER, Widen(kMotionSettingsKey)) || !key.QueryDword(u"Rotation", &angle))
    return std::nullopt;
  return angle;
}

}  // namespace

bool GetAutoOrientation() {
  RegistryKey key(HKEY_CURRENT_USER);
  uint32_t value = 0;
  return key.Open(HKEY_CURRENT_USER, kMotionSensorKey) && key.QueryDword(u"AutoOrientation", &value) && value == 1;
}

void SetAutoOrientation(bool on) {
  RegistryKey key(HKEY_CURRENT_USER);
  if (key.Open(HKEY_CURRENT_USER, kMotionSensorKey)) WriteAutoOrientation(key, on);
}

void ForcePortrait() {
  SetDisplayOrientation(DISPLAY_ORIENTATION_0);
  RegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kGdiRotationKey)) return;
  key.SetDword(u"Angle", 0);
  key.SetDword(u"LandscapeMode", 1);
  key.SetDword(u"LandscapeFixed", 0);
}

void ApplyRotationLock(bool activated, bool next_window_known) {
  RegistryKey key(HKEY_CURRENT_USER);
  if (!key.Open(HKEY_CURRENT_USER, kMotionSensorKey)) return;
  uint32_t auto_orientation = 0;
  const bool auto_on = key.QueryDword(u"AutoOrientation", &auto_orientation) && auto_orientation == 1;
  if (activated || next_window_known) {
    if (auto_on) {
      g_switched_off_by_viewer = true;
      WriteAutoOrientation(key, false);
    }
    ForcePortrait();
  } else if (g_switched_off_by_viewer) {
    WriteAutoOrientation(key, true);
  }
}

bool RotateDisplay(uint32_t angle) {
  const int current = GetDisplayOrientation();
  const int target = angle == 90 ? DISPLAY_ORIENTATION_270 : angle == 270 ? DISPLAY_ORIENTATION_90 : DISPLAY_ORIENTATION_0;
  if (target != current) SetDisplayOrientation(target);
  return angle == 90 || angle == 270;
}

std::optional<bool> HandleRotationMessage(WPARAM wparam, LPARAM lparam) {
  if (lparam != kRotationChangedTag) return std::nullopt;
  return RotateDisplay(uint32_t(wparam));
}

RegistryWatch WatchRotation(std::function<void(uint32_t angle)> on_angle) {
  return WatchKey(HKEY_CURRENT_USER, kMotionSettingsKey, [on_angle = std::move(on_angle)] {
    if (auto angle = ReadRotation()) on_angle(*angle);
  });
}

RegistryWatch WatchRotation(HWND hwnd) {
  return WatchRotation([hwnd](uint32_t angle) { PostMessage(hwnd, WM_ROTATION_CHANGED, WPARAM(angle), kRotationChangedTag); });
}

ViewerRotationLock::ViewerRotationLock() : remembered_(GetAutoOrientation()) {
  SetAutoOrientation(false);
  ForcePortrait();
}

ViewerRotationLock::~ViewerRotationLock() { SetAutoOrientation(remembered_); }

DetailRotation::DetailRotation(HWND detail) : remembered_(GetAutoOrientation()) {
  SetAutoOrientation(true);
  watch_ = WatchRotation(detail);
}

DetailRotation::~DetailRotation() {
  SetAutoOrientation(remembered_);
  watch_.Stop();
  RotateDisplay(0);
}

void ResetRotationStateForTesting() { g_switched_off_by_viewer = false; }

}  // namespace brantel
