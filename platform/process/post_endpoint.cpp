#include "platform/process/post_endpoint.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

namespace brantel {

namespace {

constexpr uint32_t kPostMagic = 0x4D505242;  // "BRPM"

struct Wire {
  uint32_t magic;
  uint32_t message;
  uint64_t hwnd;
  uint64_t wparam;
  int64_t lparam;
};
static_assert(sizeof(Wire) == 32);

// The socket of process `pid`: a file in the run folder, or, when that path
// does not fit a socket address, an abstract name derived from it.
bool EndpointAddress(int pid, sockaddr_un* addr, socklen_t* len) {
  std::memset(addr, 0, sizeof *addr);
  addr->sun_family = AF_UNIX;
  const std::string folder = RunFolder();
  const std::string path = folder + std::to_string(pid) + ".sock";
  if (path.size() < sizeof addr->sun_path) {
    std::memcpy(addr->sun_path, path.data(), path.size());
    *len = socklen_t(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return true;
  }
  const std::string name = "brantel-" + std::to_string(std::hash<std::string>{}(folder)) + "-" + std::to_string(pid);
  std::memcpy(addr->sun_path + 1, name.data(), name.size());
  *len = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  return true;
}

class Endpoint {
 public:
  ~Endpoint() { Stop(); }

  bool Start(RemotePostHandler handler) {
    std::lock_guard lock(mutex_);
    {
      std::lock_guard h(handler_mutex_);
      handler_ = std::move(handler);
    }
    if (fd_ >= 0) return true;
    sockaddr_un addr;
    socklen_t len;
    EndpointAddress(getpid(), &addr, &len);
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (addr.sun_path[0]) {
      unlink(addr.sun_path);  // left by an ended process that had our id
      socket_path_ = addr.sun_path;
    }
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
      close(fd);
      socket_path_.clear();
      return false;
    }
    if (!socket_path_.empty()) chmod(socket_path_.c_str(), 0600);
    const int stop_fd = eventfd(0, EFD_CLOEXEC);
    if (stop_fd < 0) {
      close(fd);
      if (!socket_path_.empty()) unlink(socket_path_.c_str());
      socket_path_.clear();
      return false;
    }
    fd_ = fd;
    stop_fd_ = stop_fd;
    thread_ = std::thread([this, fd, stop_fd] { Receive(fd, stop_fd); });
    return true;
  }

  void Stop() {
    std::lock_guard lock(mutex_);
    if (fd_ < 0) return;
    const uint64_t one = 1;
    if (write(stop_fd_, &one, sizeof one) < 0) return;  // cannot fail on a fresh eventfd
    if (thread_.joinable()) thread_.join();
    close(fd_);
    close(stop_fd_);
    fd_ = -1;
    stop_fd_ = -1;
    if (!socket_path_.empty()) unlink(socket_path_.c_str());
    socket_path_.clear();
  }

 private:
  // Sleeps until a datagram arrives or Stop signals `stop_fd`.
  void Receive(int fd, int stop_fd) {
    pthread_setname_np(pthread_self(), "post-endpoint");
    for (;;) {
      pollfd p[2] = {{fd, POLLIN, 0}, {stop_fd, POLLIN, 0}};
      if (poll(p, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (p[1].revents) return;
      if (!(p[0].revents & POLLIN)) continue;
      char buf[64];
      const ssize_t n = recv(fd, buf, sizeof buf, MSG_DONTWAIT);
      if (n != ssize_t(sizeof(Wire))) continue;  // not one of ours
      Wire w;
      std::memcpy(&w, buf, sizeof w);
      if (w.magic != kPostMagic || WindowHandleProcessId(w.hwnd) != getpid()) continue;
      std::lock_guard h(handler_mutex_);
      if (handler_) handler_(RemotePost{w.hwnd, w.message, w.wparam, w.lparam});
    }
  }

  std::mutex mutex_;
  std::recursive_mutex handler_mutex_;  // the handler may give a new handler
  RemotePostHandler handler_;
  std::thread thread_;
  int fd_ = -1;
  int stop_fd_ = -1;
  std::string socket_path_;
};

Endpoint& TheEndpoint() {
  static Endpoint endpoint;
  return endpoint;
}

}  // namespace

bool StartPostEndpoint(RemotePostHandler handler) { return TheEndpoint().Start(std::move(handler)); }

void StopPostEndpoint() { TheEndpoint().Stop(); }

bool PostToProcess(WindowHandle hwnd, uint32_t message, uint64_t wparam, int64_t lparam) {
  const int pid = WindowHandleProcessId(hwnd);
  if (pid <= 0) return false;
  sockaddr_un addr;
  socklen_t len;
  EndpointAddress(pid, &addr, &len);
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  timeval timeout{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  const Wire w{kPostMagic, message, hwnd, wparam, lparam};
  const ssize_t n = sendto(fd, &w, sizeof w, MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&addr), len);
  close(fd);
  return n == ssize_t(sizeof w);
}

}  // namespace brantel
