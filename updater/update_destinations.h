#pragma once
// Where the updater may write: only into the viewer's (program) folder and
// the data folder; and which programs it may close and start again: only
// those in the program folder. A manifest path is first resolved as text
// ("." and ".." included) and must land inside the folders; the folder that
// holds it is then opened one component at a time without following a
// symbolic link (platform/inside_folder.h), so a link inside a folder cannot
// lead a write or a start anywhere else.

#include <string>
#include <vector>

#include "platform/inside_folder.h"
#include "platform/text.h"

namespace brantel {

struct UpdateDestinations {
  std::string program_folder;  // the viewer's folder from the command line
  std::string data_folder;     // DataFolder()

  std::vector<std::string> list() const { return {program_folder, data_folder}; }
};

// The Linux path a manifest path names ("\TARGET-DIRECTORY\" is the program
// folder) when it lies inside one of the two folders; false for any other
// path, a relative one, or a folder itself.
bool ResolveDestination(WideView manifest_path, const UpdateDestinations& folders, std::string& out);

// The program a restart path names when a release may close and start it:
// inside the program folder (not the data folder), reached without a link as
// far as it exists. An empty path (nothing to start) gives true and "".
bool ResolveRestartProgram(WideView manifest_path, const std::string& program_folder, std::string& out);

// The link part of that rule alone: no folder along `path` below the program
// folder, nor the file itself, is a symbolic link (missing ones are none).
// Checked again just before the start.
bool ReachedWithoutLinks(const std::string& path, const std::string& program_folder);

// The open folder that holds one destination file.
class DestinationFolder : public FolderInside {
 public:
  // Opens the folder of `path` (a path ResolveDestination accepted) from the
  // folder it lies in; missing folders are created when `create` is set.
  bool Open(const std::string& path, const UpdateDestinations& folders, bool create) {
    return FolderInside::Open(path, folders.list(), create);
  }
};

}  // namespace brantel
