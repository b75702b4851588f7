#include "updater/update_destinations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/folders.h"
#include "updater/update_paths.h"

namespace brantel {

namespace {

// Each folder as written and as the file system names it, so a path given
// through either form is recognised.
std::vector<std::string> Roots(const UpdateDestinations& folders) {
  std::vector<std::string> roots;
  for (const std::string* folder : {&folders.program_folder, &folders.data_folder}) {
    if (folder->empty()) continue;
    const std::string normal = NormalizePath(*folder);
    if (normal[0] != '/') continue;  // only absolute folders are roots
    roots.push_back(normal);
    if (char* real = realpath(normal.c_str(), nullptr)) {
      roots.emplace_back(real);
      free(real);
    }
  }
  return roots;
}

// The longest root that `path` (normalized) lies strictly inside; empty for none.
std::string RootOf(const std::string& path, const UpdateDestinations& folders) {
  std::string best;
  for (const std::string& root : Roots(folders)) {
    const std::string prefix = root == "/" ? root : root + "/";
    if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 && root.size() > best.size())
      best = root;
  }
  return best;
}

int OpenSubfolder(int parent, const std::string& name, bool create) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  int fd = openat(parent, name.c_str(), kFlags);
  if (fd < 0 && errno == ENOENT && create && (mkdirat(parent, name.c_str(), 0755) == 0 || errno == EEXIST))
    fd = openat(parent, name.c_str(), kFlags);
  return fd;
}

}  // namespace

bool ResolveDestination(WideView manifest_path, const UpdateDestinations& folders, std::string& out) {
  out.clear();
  std::string candidate;
  if (!ResolveManifestPath(manifest_path, folders.program_folder, candidate)) return false;
  const std::string normal = NormalizePath(candidate);
  if (normal[0] != '/' || RootOf(normal, folders).empty()) return false;
  out = normal;
  return true;
}

DestinationFolder::~DestinationFolder() {
  if (fd_ >= 0) close(fd_);
}

bool DestinationFolder::Open(const std::string& path, const UpdateDestinations& folders, bool create) {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  leaf_.clear();
  missing_ = false;
  const std::string normal = NormalizePath(path);
  const std::string root = RootOf(normal, folders);
  if (root.empty()) return false;
  // The folder itself is taken as configured, links included.
  if (create) CreateFoldersAlong(root);
  int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    missing_ = errno == ENOENT;
    return false;
  }
  const std::string rest = normal.substr(root == "/" ? 1 : root.size() + 1);
  size_t pos = 0;
  for (size_t slash = rest.find('/'); slash != std::string::npos; slash = rest.find('/', pos)) {
    const int next = OpenSubfolder(fd, rest.substr(pos, slash - pos), create);
    missing_ = next < 0 && errno == ENOENT;
    close(fd);
    if (next < 0) return false;  // a link, a file, a folder that cannot be made, or none
    fd = next;
    pos = slash + 1;
  }
  leaf_ = rest.substr(pos);
  fd_ = fd;
  return true;
}

}  // namespace brantel
