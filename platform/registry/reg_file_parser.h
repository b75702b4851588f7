#pragma once
// Reader of registry scripts (.reg files), the format of the device's
// registry editor, in both versions: "REGEDIT4" and "Windows Registry Editor
// Version 5.00".
//
// Line forms: [KEY] opens (creates) a key, [-KEY] deletes a key with its
// subkeys, "name"=- deletes a value, @= is the key's default value, and a
// value is "text" (REG_SZ, with \\ and \" as escapes), dword:XXXXXXXX,
// hex:bytes (REG_BINARY), hex(2): (REG_EXPAND_SZ), hex(7): (REG_MULTI_SZ) or
// hex(N): for any type N. A line ending in a backslash outside quotes
// continues on the next line; lines starting with ";" are comments. KEY
// starts with a root name (HKEY_LOCAL_MACHINE or HKLM, ...).
//
// The file may be UTF-16LE with a byte-order mark (as the editor writes
// version 5 files), UTF-8 with or without a mark. Strings become UTF-16LE
// bytes with a terminating zero, as the editor stores them; hex data is kept
// byte for byte.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry/registry_types.h"

namespace brantel {

// Receives what the script says, line by line. Each call returns an empty
// text to go on, or an error message that stops the reading at that line.
class RegFileSink {
 public:
  virtual ~RegFileSink() = default;
  virtual std::string OnKey(RegRoot root, std::string_view path) = 0;
  virtual std::string OnDeleteKey(RegRoot root, std::string_view path) = 0;
  // A value of the key named by the last OnKey.
  virtual std::string OnValue(std::string_view name, uint32_t type, std::string_view data) = 0;
  virtual std::string OnDeleteValue(std::string_view name) = 0;
};

struct RegFileError {
  size_t line = 0;  // 1-based; a continued line reports its first line
  std::string message;
};

// Scripts larger than this are refused before reading.
inline constexpr size_t kMaxRegFileBytes = size_t(64) << 20;

// Reads the whole script; false at the first malformed line or sink error.
bool ParseRegText(std::string_view bytes, RegFileSink& sink, RegFileError* error);

}  // namespace brantel
