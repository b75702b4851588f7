#pragma once
// The folder the file parts of answers are stored in (TEMP/ beside the
// program), and its cleaning.

#include <chrono>
#include <string>

namespace brantel {

// Files in the download folder older than this are left over from earlier runs.
inline constexpr std::chrono::hours kStaleDownloadAge{24};

// ProgramFolder() + "TEMP/".
std::string DownloadFolder();

// Removes the files of `folder` (not its sub-folders) last written more than
// `older_than` ago. The viewer calls it once at start. Returns how many were
// removed; a missing folder removes nothing.
int RemoveStaleDownloads(const std::string& folder = DownloadFolder(),
                         std::chrono::seconds older_than = kStaleDownloadAge);

}  // namespace brantel
