#pragma once
// Small purpose-built HTTP servers on 127.0.0.1 for the transport tests: each
// accepted connection has its request read (head and Content-Length body) and
// is then handed to the test's handler, which writes whatever answer, at
// whatever pace, the test needs.

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "tests/support/loopback_listener.h"

namespace brantel::testing_support {

class LoopbackServer {
 public:
  using Handler = std::function<void(int fd, const std::string& request)>;

  explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    listen_fd_ = ListenLoopback(8, &port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    close(listen_fd_);
  }

  int port() const { return port_; }
  std::string last_request() {
    std::lock_guard<std::mutex> hold(mutex_);
    return last_request_;
  }
  int connections() const { return connections_; }

 private:
  void Serve() {
    while (!stop_) {
      pollfd p{listen_fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      const int fd = accept(listen_fd_, nullptr, nullptr);
      if (fd < 0) continue;
      ++connections_;
      const std::string request = ReadRequest(fd);
      {
        std::lock_guard<std::mutex> hold(mutex_);
        last_request_ = request;
      }
      handler_(fd, request);
      close(fd);
    }
  }

  static std::string ReadRequest(int fd) {
    std::string data;
    char buffer[4096];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      const size_t end = data.find("\r\n\r\n");
      if (end != std::string::npos) {
        const size_t at = data.find("Content-Length: ");
        const size_t length = at == std::string::npos ? 0 : std::stoul(data.substr(at + 16));
        if (data.size() >= end + 4 + length) break;
      }
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      data.append(buffer, size_t(n));
    }
    return data;
  }

  Handler handler_;
  int listen_fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::string last_request_;
  std::thread thread_;
};

// An answer with status 200 and a Content-Length.
inline std::string OkAnswer(std::string_view body, std::string_view length_header = "Content-Length") {
  return "HTTP/1.1 200 OK\r\nContent-Type: multipart/mixed\r\n" + std::string(length_header) + ": " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + std::string(body);
}

}  // namespace brantel::testing_support
