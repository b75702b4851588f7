#pragma once
// The device registry's vocabulary: the four roots, the value types and the
// status codes that registry calls report, with the numbers the device uses.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brantel {

// Roots, with the device's predefined handle values.
using RegRoot = uint32_t;
inline constexpr RegRoot HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr RegRoot HKEY_CURRENT_USER = 0x80000001u;
inline constexpr RegRoot HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr RegRoot HKEY_USERS = 0x80000003u;

// Value types.
inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_DWORD_BIG_ENDIAN = 5;
inline constexpr uint32_t REG_LINK = 6;
inline constexpr uint32_t REG_MULTI_SZ = 7;
inline constexpr uint32_t REG_QWORD = 11;

// Status codes of registry calls.
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_INVALID_DATA = 13;
inline constexpr long ERROR_INVALID_PARAMETER = 87;
inline constexpr long ERROR_MORE_DATA = 234;
inline constexpr long ERROR_NO_MORE_ITEMS = 259;
inline constexpr long ERROR_BADDB = 1009;
inline constexpr long ERROR_BADKEY = 1010;
inline constexpr long ERROR_CANTOPEN = 1011;
inline constexpr long ERROR_CANTWRITE = 1013;
inline constexpr long ERROR_KEY_DELETED = 1018;

// Limits that keep a hostile script or caller from bloating the store.
inline constexpr size_t kMaxRegKeyNameLength = 255;     // one path component
inline constexpr size_t kMaxRegValueNameLength = 16383;
inline constexpr size_t kMaxRegValueBytes = size_t(1) << 20;
inline constexpr size_t kMaxRegKeyDepth = 512;

bool IsRegRoot(RegRoot root);
// "HKEY_LOCAL_MACHINE" and so on; empty for an unknown root.
std::string_view RegRootName(RegRoot root);
// Accepts the full names and the short forms HKCR, HKCU, HKLM, HKU, in any
// letter case.
std::optional<RegRoot> ParseRegRootName(std::string_view name);

// Splits "HKLM\SOFTWARE\BRANTEL" into a root and the path below it.
struct RegKeyName {
  RegRoot root = 0;
  std::string path;  // below the root, without leading or trailing "\"
};
std::optional<RegKeyName> ParseRegKeyName(std::string_view full_name);

// "REG_SZ" and so on; types without a name come out as a number.
std::string RegTypeName(uint32_t type);
std::optional<uint32_t> ParseRegTypeName(std::string_view name);

// Key paths and value names compare without regard to ASCII letter case.
std::string FoldRegName(std::string_view name);

}  // namespace brantel
