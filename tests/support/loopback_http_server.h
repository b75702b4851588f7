#pragma once
// A scripted HTTP server on 127.0.0.1 for the tests of the two HTTP clients:
// each accepted connection has its request read (head and Content-Length
// body) and recorded, and is then handed to the test's handler, which writes
// whatever answer, at whatever pace, the test needs (broken and slow answers
// on purpose). The connection is closed after the handler returns.

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/loopback_listener.h"

namespace brantel::testing_support {

class LoopbackServer {
 public:
  using Handler = std::function<void(int fd, const std::string& request)>;

  explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    listen_fd_ = ListenLoopback(16, &port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    if (listen_fd_ >= 0) close(listen_fd_);
  }

  int port() const { return port_; }
  std::string url(std::string_view path) const {
    std::string url = "http://127.0.0.1:";
    url += std::to_string(port_);
    url += path;
    return url;
  }
  std::vector<std::string> requests() {
    std::lock_guard<std::mutex> hold(mutex_);
    return requests_;
  }
  std::string last_request() {
    std::lock_guard<std::mutex> hold(mutex_);
    return requests_.empty() ? std::string() : requests_.back();
  }
  int connections() const { return connections_; }

 private:
  void Serve() {
    while (!stop_) {
      pollfd p{listen_fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      ++connections_;
      const std::string request = ReadRequest(fd);
      {
        std::lock_guard<std::mutex> hold(mutex_);
        requests_.push_back(request);
      }
      handler_(fd, request);
      shutdown(fd, SHUT_WR);
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
  std::vector<std::string> requests_;
  std::thread thread_;
};

// The head of a plain 200 answer whose body of `length` bytes follows.
inline std::string FileAnswerHead(size_t length) {
  std::string head = "HTTP/1.1 200 OK\r\nContent-Length: ";
  head += std::to_string(length);
  head += "\r\n\r\n";
  return head;
}

// A plain 200 answer carrying `body`, as a file server sends it.
inline std::string FileAnswer(std::string_view body) {
  std::string answer = FileAnswerHead(body.size());
  answer += body;
  return answer;
}

// The data service's 200 answer: a multipart body with its length header
// (named as given, so tests can vary its spelling).
inline std::string OkAnswer(std::string_view body, std::string_view length_header = "Content-Length") {
  std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: multipart/mixed\r\n";
  answer += length_header;
  answer += ": ";
  answer += std::to_string(body.size());
  answer += "\r\nConnection: close\r\n\r\n";
  answer += body;
  return answer;
}

}  // namespace brantel::testing_support
