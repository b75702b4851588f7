#pragma once
// Where the cache database lives: "qelstockdb" in the device's data folder.

#include <string>

namespace brantel {

inline constexpr const char* kCacheFileName = "qelstockdb";

// The narrow path of the cache file; empty when the data folder cannot be
// made (the operation then does nothing and returns 0).
std::string BuildDatabasePath();

}  // namespace brantel
