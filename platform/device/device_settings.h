#pragma once
// Device state that the stand-ins read from the registry, under
// HKEY_LOCAL_MACHINE "SOFTWARE\BRANTEL\Device" (set it with brantel-reg).

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/text.h"

namespace brantel {

inline constexpr std::string_view kDeviceSettingsKey = "SOFTWARE\\BRANTEL\\Device";

// A 4-byte value; nothing when the key or value is missing or not 4 bytes.
std::optional<uint32_t> ReadDeviceDword(std::string_view name);
// A text value (REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ, UTF-16LE), cut at its
// first zero character; nothing when missing or of another type.
std::optional<WideText> ReadDeviceText(std::string_view name);

}  // namespace brantel
