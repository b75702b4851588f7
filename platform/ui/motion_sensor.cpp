#include "platform/ui/motion_sensor.h"

#include "platform/registry/registry_store.h"

namespace brantel {

bool WriteMotionSensorRotation(int degrees) {
  if (degrees != 0 && degrees != 90 && degrees != 270) return false;
  auto store = RegistryStore::Shared();
  if (!store) return false;
  RegKeyId key;
  if (store->CreateKey(HKEY_CURRENT_USER, kMotionSettingsKey, &key) != ERROR_SUCCESS) return false;
  uint32_t v = uint32_t(degrees);
  std::string bytes{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
  return store->SetValue(key, kMotionRotationValue, REG_DWORD, bytes) == ERROR_SUCCESS;
}

int ReadMotionSensorRotation() {
  auto store = RegistryStore::Shared();
  if (!store) return 0;
  RegKeyId key;
  if (store->OpenKey(HKEY_CURRENT_USER, kMotionSettingsKey, &key) != ERROR_SUCCESS) return 0;
  RegValue value;
  if (store->QueryValue(key, kMotionRotationValue, &value) != ERROR_SUCCESS || value.data.size() != 4) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(value.data.data());
  return int(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24));
}

int NextMotionSensorRotation(int degrees) {
  switch (degrees) {
    case 0: return 90;
    case 90: return 270;
    default: return 0;
  }
}

int RotationForWindowShape(int width, int height, int current) {
  if (width == height) return current;
  if (width < height) return 0;
  return current == 270 ? 270 : 90;
}

void FollowWindowShape(int width, int height) {
  const int current = ReadMotionSensorRotation();
  const int wanted = RotationForWindowShape(width, height, current);
  if (wanted != current) WriteMotionSensorRotation(wanted);
}

}  // namespace brantel
