#include "platform/inside_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/folders.h"

namespace brantel {

namespace {

// Each folder as written and as the file system names it, so a path given
// through either form is recognised.
std::vector<std::string> Roots(const std::vector<std::string>& folders) {
  std::vector<std::string> roots;
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string normal = NormalizePath(folder);
    if (normal[0] != '/') continue;  // only absolute folders are roots
    roots.push_back(normal);
    if (char* real = realpath(normal.c_str(), nullptr)) {
      roots.emplace_back(real);
      free(real);
    }
  }
  return roots;
}

int OpenSubfolder(int parent, const std::string& name, bool create) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  int fd = openat(parent, name.c_str(), kFlags);
  if (fd < 0 && errno == ENOENT && create && (mkdirat(parent, name.c_str(), 0755) == 0 || errno == EEXIST))
    fd = openat(parent, name.c_str(), kFlags);
  return fd;
}

bool CopyBytes(int from, int to, bool& looks_like_program) {
  std::vector<char> buf(64 * 1024);
  bool first = true;
  for (;;) {
    const ssize_t n = read(from, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (first) {
      looks_like_program = (n >= 4 && buf[0] == 0x7F && buf[1] == 'E' && buf[2] == 'L' && buf[3] == 'F') ||
                           (n >= 2 && buf[0] == '#' && buf[1] == '!');
      first = false;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = write(to, buf.data() + done, size_t(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      done += w;
    }
  }
}

}  // namespace

ScopedFd::~ScopedFd() {
  if (fd_ >= 0) close(fd_);
}

bool ScopedFd::CloseNow() {
  const int fd = fd_;
  fd_ = -1;
  return fd < 0 || close(fd) == 0;
}

std::string NormalizePath(const std::string& path) {
  const bool absolute = !path.empty() && path[0] == '/';
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
      } else if (!absolute) {
        parts.push_back(part);
      }
      continue;
    }
    parts.push_back(std::move(part));
  }
  std::string out = absolute ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += '/';
    out += parts[i];
  }
  return out.empty() ? "." : out;
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
  const std::string p = NormalizePath(path);
  std::string f = NormalizePath(folder);
  if (p == f) return true;
  if (f.back() != '/') f += '/';
  return p.compare(0, f.size(), f) == 0;
}

std::string FolderHolding(const std::string& path, const std::vector<std::string>& folders) {
  const std::string normal = NormalizePath(path);
  std::string best;
  for (const std::string& root : Roots(folders)) {
    const std::string prefix = root == "/" ? root : root + "/";
    if (normal.size() > prefix.size() && normal.compare(0, prefix.size(), prefix) == 0 && root.size() > best.size())
      best = root;
  }
  return best;
}

FolderInside::~FolderInside() {
  if (fd_ >= 0) close(fd_);
}

bool FolderInside::Open(const std::string& path, const std::vector<std::string>& folders, bool create) {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  leaf_.clear();
  missing_ = false;
  const std::string normal = NormalizePath(path);
  const std::string root = FolderHolding(normal, folders);
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

bool ReplaceFileInFolder(int source_fd, int folder_fd, const std::string& leaf, const std::string& staging_suffix) {
  if (source_fd < 0 || folder_fd < 0 || leaf.empty() || staging_suffix.empty()) return false;
  struct stat old {};
  const bool replaces = fstatat(folder_fd, leaf.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (replaces && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) return false;  // a folder or device
  // A sibling left by an earlier run (or planted as a link) is removed, and
  // the new one is created fresh, so the bytes cannot go anywhere else.
  const std::string staging = leaf + staging_suffix;
  unlinkat(folder_fd, staging.c_str(), 0);
  ScopedFd out(openat(folder_fd, staging.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (out.get() < 0) return false;
  bool program = false;
  bool ok = CopyBytes(source_fd, out.get(), program);
  const mode_t mode = replaces && S_ISREG(old.st_mode) ? (old.st_mode & 07777) : (program ? 0755 : 0644);
  ok = ok && fchmod(out.get(), mode) == 0 && fsync(out.get()) == 0;
  ok = out.CloseNow() && ok;
  if (ok && renameat(folder_fd, staging.c_str(), folder_fd, leaf.c_str()) == 0) {
    fsync(folder_fd);
    return true;
  }
  unlinkat(folder_fd, staging.c_str(), 0);
  return false;
}

}  // namespace brantel
