#pragma once
// Putting files in place so that an interrupted update leaves each target
// either as it was or complete, never half-written.

#include <string>

#include "updater/update_destinations.h"

namespace brantel {

// Copies the open file `source_fd` over `leaf` in the open folder
// `folder_fd` through the temporary sibling "<leaf>.updating"
// (ReplaceFileInFolder: never through a link, renamed over the target).
// False when anything failed; the target is then unchanged.
bool InstallFileInFolder(int source_fd, int folder_fd, const std::string& leaf);

// The same for the updater's own files (the applied manifest copy): missing
// folders along `target` are created.
bool InstallFileAtomically(const std::string& source, const std::string& target);

// The same for a destination named by the manifest: `target` must be a path
// ResolveDestination accepted, and its folder is reached without following
// links (DestinationFolder). False when refused or failed.
bool InstallFileInside(const std::string& source, const std::string& target, const UpdateDestinations& folders);

// The temporary sibling the install writes before the rename.
std::string InstallStagingPath(const std::string& target);

}  // namespace brantel
