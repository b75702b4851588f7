#pragma once
// Where the updater may write: only into the viewer's (program) folder and
// the data folder. A manifest path is first resolved as text ("." and ".."
// included) and must land inside one of them; the folder that holds it is
// then opened one component at a time without following a symbolic link, so
// a link inside a folder cannot lead the write anywhere else.

#include <string>

#include "platform/text.h"

namespace brantel {

struct UpdateDestinations {
  std::string program_folder;  // the viewer's folder from the command line
  std::string data_folder;     // DataFolder()
};

// The Linux path a manifest path names ("\TARGET-DIRECTORY\" is the program
// folder) when it lies inside one of the two folders; false for any other
// path, a relative one, or a folder itself.
bool ResolveDestination(WideView manifest_path, const UpdateDestinations& folders, std::string& out);

// The open folder that holds one destination file.
class DestinationFolder {
 public:
  DestinationFolder() = default;
  ~DestinationFolder();
  DestinationFolder(const DestinationFolder&) = delete;
  DestinationFolder& operator=(const DestinationFolder&) = delete;

  // Opens the folder of `path` (a path ResolveDestination accepted) from the
  // folder it lies in, refusing a component that is a symbolic link or not a
  // folder; missing folders are created when `create` is set.
  bool Open(const std::string& path, const UpdateDestinations& folders, bool create);

  int fd() const { return fd_; }
  const std::string& leaf() const { return leaf_; }  // the file's name in it
  // Open failed only because a folder along the path does not exist.
  bool missing() const { return missing_; }

 private:
  int fd_ = -1;
  std::string leaf_;
  bool missing_ = false;
};

}  // namespace brantel
