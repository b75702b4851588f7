#include "updater/file_install.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/folders.h"
#include "platform/inside_folder.h"

namespace brantel {

namespace {

constexpr char kStagingSuffix[] = ".updating";

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

}  // namespace

std::string InstallStagingPath(const std::string& target) { return target + kStagingSuffix; }

bool InstallFileInFolder(int source_fd, int folder_fd, const std::string& leaf) {
  return ReplaceFileInFolder(source_fd, folder_fd, leaf, kStagingSuffix);
}

bool InstallFileAtomically(const std::string& source, const std::string& target) {
  if (source.empty() || target.empty() || target.back() == '/') return false;
  if (!CreateFoldersAlong(target, true)) return false;
  ScopedFd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  ScopedFd folder(open(ParentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return InstallFileInFolder(in.get(), folder.get(), target.substr(target.rfind('/') + 1));
}

bool InstallFileInside(const std::string& source, const std::string& target, const UpdateDestinations& folders) {
  DestinationFolder folder;
  if (!folder.Open(target, folders, true)) return false;
  ScopedFd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  return InstallFileInFolder(in.get(), folder.fd(), folder.leaf());
}

}  // namespace brantel
