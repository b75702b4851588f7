#pragma once
// Where the master file is installed and what the registry remembers of it:
// "masterpath" and "masterinfocount" under SOFTWARE\BRANTEL\BrantelStock.

#include <cstdint>
#include <string>

namespace brantel {

inline constexpr const char* kMasterFileName = "masterinfo";

// The installed file: "masterinfo" in the data folder.
std::string DefaultMasterPath();

// Reads the stored path and count. 1 when the program key exists (an empty
// path is replaced by the default one); 0 when it did not (it is created,
// the path is empty and the count 0).
int LoadMasterInfo(std::string& path, uint32_t& count);
// Writes both values; returns 0 in every case.
int SaveMasterInfo(const std::string& path, uint32_t count);

// Moves a downloaded master file into place and returns the installed path,
// or "" when it could not (the previous file is then back under its name).
// An existing file is first renamed to a backup named with the UTC time and
// deleted once the new file is in place.
std::string InstallMasterFile(const std::string& downloaded_path);

// The backup name for `installed_path` at the current UTC time:
// installed_path + "_" + yyyyMMddHHmmss + four-digit milliseconds.
std::string MasterBackupName(const std::string& installed_path);

}  // namespace brantel
