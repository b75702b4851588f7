#pragma once
// A small scripted HTTP server on 127.0.0.1 for the updater tests: each
// connection's request is recorded and answered by the test's handler, which
// writes raw bytes, so broken and slow answers can be produced on purpose.

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_listener.h"

namespace brantel::testing {

class LoopbackServer {
 public:
  // handler(request text, connected socket); the connection is closed after it returns.
  using Handler = std::function<void(const std::string& request, int fd)>;

  explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    listen_fd_ = testing_support::ListenLoopback(16, &port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    if (listen_fd_ >= 0) close(listen_fd_);
  }

  int port() const { return port_; }
  std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  std::vector<std::string> requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  static void Send(int fd, const std::string& bytes) { testing_support::SendText(fd, bytes); }
  static std::string Ok(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd p{listen_fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      std::string request;
      char buf[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        pollfd q{fd, POLLIN, 0};
        if (poll(&q, 1, 2000) <= 0) break;
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, size_t(n));
      }
      {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
      }
      handler_(request, fd);
      shutdown(fd, SHUT_WR);
      close(fd);
    }
  }

  Handler handler_;
  int listen_fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace brantel::testing
