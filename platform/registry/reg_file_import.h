#pragma once
// Import of registry scripts into the store, all or nothing: the whole
// script runs in one transaction, and a malformed line or a refused write
// leaves the registry exactly as it was.

#include <string>
#include <string_view>

#include "platform/registry/reg_file_parser.h"
#include "platform/registry/registry_store.h"

namespace brantel {

struct RegImportResult {
  bool ok = false;
  RegFileError error;  // line 0 when the file itself could not be read
  size_t keys = 0;     // [KEY] sections
  size_t deleted_keys = 0;
  size_t values = 0;
  size_t deleted_values = 0;
};

RegImportResult ImportRegText(RegistryStore& store, std::string_view bytes);
RegImportResult ImportRegFile(RegistryStore& store, const std::string& path);

// "line 7: unknown value form: qword:1", or the message alone for line 0.
std::string DescribeRegFileError(const RegFileError& error);

}  // namespace brantel
