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

void SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

}  // namespace

std::string InstallStagingPath(const std::string& target) { return target + ".updating"; }

bool InstallFileAtomically(const std::string& source, const std::string& target) {
  if (source.empty() || target.empty() || target.back() == '/') return false;
  if (!CreateFoldersAlong(target, true)) return false;
  Fd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return false;
  const std::string staging = InstallStagingPath(target);
  Fd out(open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (out.get() < 0) return false;
  bool program = false;
  bool ok = CopyBytes(in.get(), out.get(), program);
  struct stat old {};
  mode_t mode = program ? 0755 : 0644;
  if (stat(target.c_str(), &old) == 0) {
    if (!S_ISREG(old.st_mode)) ok = false;  // never replace a folder or device
    mode = old.st_mode & 07777;
  }
  ok = ok && fchmod(out.get(), mode) == 0 && fsync(out.get()) == 0;
  ok = out.CloseNow() && ok;
  if (ok && rename(staging.c_str(), target.c_str()) == 0) {
    SyncFolderOf(target);
    return true;
  }
  unlink(staging.c_str());
  return false;
}

}  // namespace brantel
