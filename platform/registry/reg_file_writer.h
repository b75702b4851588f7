#pragma once
// Writer of registry scripts in the version 5 format ("Windows Registry
// Editor Version 5.00"), as UTF-8 text with "\n" line ends. Every value
// reads back with exactly its type and bytes: texts that cannot be written
// as a quoted string (no terminator, a zero inside, line breaks) and dwords
// that are not 4 bytes long are written as hex(N):.

#include <string>
#include <string_view>

#include "platform/registry/registry_store.h"

namespace brantel {

// One value line, "name"=data or @=data, without the line end. Long hex
// data is broken with backslash continuations.
std::string FormatRegValueLine(std::string_view name, uint32_t type, std::string_view data);

// Writes the key `path` below `root` with all its values and subkeys.
long ExportRegText(RegistryStore& store, RegRoot root, std::string_view path, std::string* out);

}  // namespace brantel
