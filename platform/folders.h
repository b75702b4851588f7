#pragma once
// The device's folders on Linux.
//
// Program folder: where the running executable lies (StockUpdater, the
// resource library, Config_MNUV.txt, TEMP/ and update_temp/ live there).
// Data folder (the device's "Windows folder"): $BRANTEL_HOME when set, else
// $XDG_DATA_HOME/brantel-stock, else ~/.local/share/brantel-stock. It holds
// qelstockdb, masterinfo, q_stock_update.xml, registry.db and the run folder.

#include <string>
#include <string_view>

namespace brantel {

// Directory of the running executable with a trailing "/". Tests may pin it
// with SetProgramFolderForTesting (an empty text restores the real one).
std::string ProgramFolder();
void SetProgramFolderForTesting(std::string folder);

// Whether the folder's permission bits let the user write in it (root's
// right to write anywhere is not counted: a package's folder stays the
// package manager's). False for a missing folder.
bool FolderWritableByUser(const std::string& folder);

// The data folder with a trailing "/", created on first use.
std::string DataFolder();

// Joins two path pieces with exactly one "/" between them.
std::string JoinPath(std::string_view base, std::string_view name);

// Turns a device path ("\\Program Files\\x\\a.txt") into a Linux one by
// replacing every backslash with "/".
std::string DevicePathToLinux(std::string_view path);

// Creates every missing folder along `path` (a folder path, or a file path
// when `path_is_file`). Returns false when one could not be created.
bool CreateFoldersAlong(std::string_view path, bool path_is_file = false);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Reads a whole file; false when it cannot be read or is larger than `limit`.
bool ReadWholeFile(const std::string& path, std::string& out, size_t limit = size_t(256) << 20);
// Writes a file through a temporary sibling and a rename, so a reader sees
// either the old or the new content, never half of it.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace brantel
