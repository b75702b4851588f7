#pragma once
// Where the master file is installed and what the registry remembers of it:
// "masterpath" and "masterinfocount" under SOFTWARE\BRANTEL\BrantelStock.

#include <cstdint>
#include <string>
#include <string_view>

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
// or "" when it could not (the previous file is then unchanged). The move is
// one rename over the installed file (across file systems: a copy into a
// sibling, then that rename), so an existing file is replaced in one step
// and no backup is made.
std::string InstallMasterFile(const std::string& downloaded_path);

// The backup name for `installed_path` at the current UTC time:
// installed_path + "_" + yyyyMMddHHmmss + four-digit milliseconds (the name
// earlier installs gave the replaced file).
std::string MasterBackupName(const std::string& installed_path);
bool IsMasterBackupName(std::string_view file_name);

// Run at start before the stored master is read: when "masterinfo" is
// missing but an install that ended between its two renames left a backup,
// the newest backup goes back in place; other backups are removed.
void RecoverMasterBackup();

}  // namespace brantel
