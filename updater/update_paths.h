#pragma once
// Paths the updater forms from manifest texts: the target of an entry (with
// the viewer's folder in place of "\TARGET-DIRECTORY\") and the temporary
// file of a download in the working folder.

#include <string>

#include "platform/inside_folder.h"  // NormalizePath, IsInsideFolder
#include "platform/text.h"

namespace brantel {

inline constexpr char16_t kTargetDirectoryPlaceholder[] = u"\\TARGET-DIRECTORY\\";

// Turns a manifest path into a Linux path: the placeholder becomes
// `viewer_dir` (a folder ending in "/") and backslashes become "/". A path
// that used the placeholder must stay inside the viewer's folder: one that
// climbs out through ".." gives false. Paths without the placeholder are
// taken as given.
bool ResolveManifestPath(WideView path, const std::string& viewer_dir, std::string& out);

// A file name for `entry_name` that stays inside the folder it is joined to:
// separators, control characters and a leading "." are replaced, and the
// name is cut so that suffixes still fit the file system's name limit.
std::string SafeEntryFileName(WideView entry_name);

}  // namespace brantel
