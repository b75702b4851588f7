#pragma once
// Files inside given folders, reached without following links. A path is
// first resolved as text ("." and ".." included) and must land inside one of
// the folders; the folder that holds it is then opened one component at a
// time without following a symbolic link, and the file is written there
// through a temporary sibling and a rename. The updater keeps a release to
// its folders with this, the viewer its hand-over of the updater.

#include <string>
#include <vector>

namespace brantel {

// Removes "." and ".." components and doubled slashes without touching the
// file system. "/a/b/../c" gives "/a/c"; climbing above the root stays at it.
std::string NormalizePath(const std::string& path);

// True when `path` (normalized) lies inside `folder` (or is the folder).
bool IsInsideFolder(const std::string& path, const std::string& folder);

// The folder of `folders` (absolute; as written or as the file system names
// it) that `path` lies strictly inside, normalized; empty for none. The
// longest wins when folders nest.
std::string FolderHolding(const std::string& path, const std::vector<std::string>& folders);

// An open file descriptor, closed when it goes.
class ScopedFd {
 public:
  explicit ScopedFd(int fd) : fd_(fd) {}
  ~ScopedFd();
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  int get() const { return fd_; }
  // Closes now; false when the close reported an error (a write not done).
  bool CloseNow();

 private:
  int fd_;
};

// The open folder that holds one file.
class FolderInside {
 public:
  FolderInside() = default;
  ~FolderInside();
  FolderInside(const FolderInside&) = delete;
  FolderInside& operator=(const FolderInside&) = delete;

  // Opens the folder of `path` from the one of `folders` it lies in,
  // refusing a component that is a symbolic link or not a folder; missing
  // folders are created when `create` is set. The given folders themselves
  // may be links.
  bool Open(const std::string& path, const std::vector<std::string>& folders, bool create);

  int fd() const { return fd_; }
  const std::string& leaf() const { return leaf_; }  // the file's name in it
  // Open failed only because a folder along the path does not exist.
  bool missing() const { return missing_; }

 private:
  int fd_ = -1;
  std::string leaf_;
  bool missing_ = false;
};

// Copies the open file `source_fd` over `leaf` in the open folder
// `folder_fd`: the bytes go to "<leaf><staging_suffix>" (made afresh, never
// through a link), are flushed to disk and renamed over the target. The new
// file keeps the permissions of the file it replaces; a new file is
// executable when it is a program (ELF or "#!" script), else readable and
// writable by its owner and readable by others. A folder or device is never
// replaced; a symbolic link is replaced itself, not what it names. False
// when anything failed; the target is then unchanged.
bool ReplaceFileInFolder(int source_fd, int folder_fd, const std::string& leaf, const std::string& staging_suffix);

}  // namespace brantel
