#include "platform/device/device_settings.h"

#include "platform/registry/registry_store.h"
#include "platform/text.h"

namespace brantel {

namespace {

bool ReadValue(std::string_view name, RegValue* value) {
  auto store = RegistryStore::Shared();
  RegKeyId key = 0;
  return store->OpenKey(HKEY_LOCAL_MACHINE, kDeviceSettingsKey, &key) == ERROR_SUCCESS &&
         store->QueryValue(key, name, value) == ERROR_SUCCESS;
}

}  // namespace

std::optional<uint32_t> ReadDeviceDword(std::string_view name) {
  RegValue v;
  if (!ReadValue(name, &v) || v.data.size() != 4) return std::nullopt;
  return uint32_t(uint8_t(v.data[0])) | uint32_t(uint8_t(v.data[1])) << 8 | uint32_t(uint8_t(v.data[2])) << 16 |
         uint32_t(uint8_t(v.data[3])) << 24;
}

std::optional<WideText> ReadDeviceText(std::string_view name) {
  RegValue v;
  if (!ReadValue(name, &v)) return std::nullopt;
  if (v.type != REG_SZ && v.type != REG_EXPAND_SZ && v.type != REG_MULTI_SZ) return std::nullopt;
  WideText text = WideFromUtf16LeBytes(v.data);
  if (const size_t end = text.find(u'\0'); end != WideText::npos) text.resize(end);
  return text;
}

}  // namespace brantel
