#include "platform/ui/window_fit.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/registry/registry_store.h"

namespace brantel {

namespace {

constexpr double kSmallest = 0.25, kLargest = 4.0;

}  // namespace

double FitWindowScale(Size screen, Size usable, double wanted, int frame_height) {
  double scale = wanted;
  if (screen.cx > 0 && screen.cy > 0 && usable.cx > 0 && usable.cy > frame_height) {
    scale = std::min({scale, double(usable.cx) / screen.cx, double(usable.cy - frame_height) / screen.cy});
  }
  return std::clamp(scale, kSmallest, kLargest);
}

std::optional<double> RememberedWindowScale() {
  auto store = RegistryStore::Shared();
  if (!store) return std::nullopt;
  RegKeyId key;
  if (store->OpenKey(HKEY_CURRENT_USER, kDisplaySettingsKey, &key) != ERROR_SUCCESS) return std::nullopt;
  RegValue value;
  if (store->QueryValue(key, kWindowScaleValue, &value) != ERROR_SUCCESS || value.type != REG_DWORD ||
      value.data.size() != 4)
    return std::nullopt;
  const auto* b = reinterpret_cast<const unsigned char*>(value.data.data());
  const uint32_t permille = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
  const double scale = permille / 1000.0;
  if (scale < kSmallest || scale > kLargest) return std::nullopt;  // a damaged value is ignored
  return scale;
}

bool RememberWindowScale(double scale) {
  auto store = RegistryStore::Shared();
  if (!store) return false;
  RegKeyId key;
  if (store->CreateKey(HKEY_CURRENT_USER, kDisplaySettingsKey, &key) != ERROR_SUCCESS) return false;
  const uint32_t v = uint32_t(std::lround(std::clamp(scale, kSmallest, kLargest) * 1000));
  const std::string bytes{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
  return store->SetValue(key, kWindowScaleValue, REG_DWORD, bytes) == ERROR_SUCCESS;
}

}  // namespace brantel
