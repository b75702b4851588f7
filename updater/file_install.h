#pragma once
// Putting files in place so that an interrupted update leaves each target
// either as it was or complete, never half-written.

#include <string>

namespace brantel {

// Copies `source` over `target`: the bytes go to a temporary file beside the
// target ("<target>.updating"), are flushed to disk and renamed over it.
// Missing folders along the target are created. The new file keeps the
// permissions of the file it replaces; a new file is executable when it is a
// program (ELF or "#!" script), else readable and writable by its owner and
// readable by others. False when anything failed; the target is then unchanged.
bool InstallFileAtomically(const std::string& source, const std::string& target);

// The temporary sibling InstallFileAtomically writes before the rename.
std::string InstallStagingPath(const std::string& target);

}  // namespace brantel
