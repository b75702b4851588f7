#include "updater/update_destinations.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "updater/update_paths.h"

namespace brantel {

bool ResolveDestination(WideView manifest_path, const UpdateDestinations& folders, std::string& out) {
  out.clear();
  std::string candidate;
  if (!ResolveManifestPath(manifest_path, folders.program_folder, candidate)) return false;
  const std::string normal = NormalizePath(candidate);
  if (normal[0] != '/' || FolderHolding(normal, folders.list()).empty()) return false;
  out = normal;
  return true;
}

bool ResolveRestartProgram(WideView manifest_path, const std::string& program_folder, std::string& out) {
  out.clear();
  std::string candidate;
  if (!ResolveManifestPath(manifest_path, program_folder, candidate)) return false;
  if (candidate.empty()) return true;  // close only, start nothing
  const std::string normal = NormalizePath(candidate);
  if (normal[0] != '/' || FolderHolding(normal, {program_folder}).empty()) return false;
  if (!ReachedWithoutLinks(normal, program_folder)) return false;
  out = normal;
  return true;
}

bool ReachedWithoutLinks(const std::string& path, const std::string& program_folder) {
  FolderInside folder;
  if (!folder.Open(path, {program_folder}, false)) return folder.missing();
  struct stat st {};
  if (fstatat(folder.fd(), folder.leaf().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  return !S_ISLNK(st.st_mode);
}

}  // namespace brantel
