#pragma once
// A loopback HTTP server that answers every request with the file of the
// same path below a folder (404 when missing), with switches for the tests:
// paths that always fail, and a delay between blocks.

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "tests/support/temp_folder.h"
#include "tests/support/loopback_http_server.h"

namespace brantel::testing {

class FileServer {
 public:
  explicit FileServer(std::string root)
      : root_(std::move(root)), server_([this](int fd, const std::string& request) { Answer(request, fd); }) {}

  std::string url(const std::string& path) const { return server_.url(path); }
  int port() const { return server_.port(); }
  void FailPath(const std::string& path) {
    std::lock_guard lock(mutex_);
    failing_.insert(path);
  }
  void SetBlockDelay(int ms) { delay_ms_ = ms; }
  int Requests(const std::string& path) {
    std::lock_guard lock(mutex_);
    return counts_[path];
  }

 private:
  void Answer(const std::string& request, int fd) {
    const size_t a = request.find(' '), b = request.find(' ', a + 1);
    const std::string path = a == std::string::npos || b == std::string::npos ? "/" : request.substr(a + 1, b - a - 1);
    {
      std::lock_guard lock(mutex_);
      ++counts_[path];
      if (failing_.count(path)) {
        testing_support::SendText(fd, "HTTP/1.1 500 Broken\r\nContent-Length: 0\r\n\r\n");
        return;
      }
    }
    struct stat st {};
    if (path.find("..") != std::string::npos || stat((root_ + path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
      testing_support::SendText(fd, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
      return;
    }
    const std::string body = ReadFile(root_ + path);
    testing_support::SendText(fd, testing_support::FileAnswerHead(body.size()));
    for (size_t i = 0; i < body.size(); i += 4096) {
      testing_support::SendText(fd, std::string_view(body).substr(i, 4096));
      if (delay_ms_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms_.load()));
    }
  }

  std::string root_;
  std::mutex mutex_;
  std::set<std::string> failing_;
  std::map<std::string, int> counts_;
  std::atomic<int> delay_ms_{0};
  testing_support::LoopbackServer server_;
};

}  // namespace brantel::testing
