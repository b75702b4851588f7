#include "updater/file_install.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/folders.h"

namespace brantel {

namespace {

constexpr char kStagingSuffix[] = ".updating";

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool CloseNow() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  int fd_;
};

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

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

}  // namespace

std::string InstallStagingPath(const std::string& target) { return target + kStagingSuffix; }

bool InstallFileInFolder(int source_fd, int folder_fd, const std::string& leaf) {
  if (source_fd < 0 || folder_fd < 0 || leaf.empty()) return false;
  struct stat old {};
  const bool replaces = fstatat(folder_fd, leaf.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (replaces && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) return false;  // a folder or device
  // A sibling left by an earlier run (or planted as a link) is removed, and
  // the new one is created fresh, so the bytes cannot go anywhere else.
  const std::string staging = leaf + kStagingSuffix;
  unlinkat(folder_fd, staging.c_str(), 0);
  Fd out(openat(folder_fd, staging.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
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

bool InstallFileAtomically(const std::string& source, const std::string& target) {
  if (source.empty() || target.empty() || target.back() == '/') return false;
  if (!CreateFoldersAlong(target, true)) return false;
  Fd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  Fd folder(open(ParentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return InstallFileInFolder(in.get(), folder.get(), target.substr(target.rfind('/') + 1));
}

bool InstallFileInside(const std::string& source, const std::string& target, const UpdateDestinations& folders) {
  DestinationFolder folder;
  if (!folder.Open(target, folders, true)) return false;
  Fd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  return InstallFileInFolder(in.get(), folder.fd(), folder.leaf());
}

}  // namespace brantel
