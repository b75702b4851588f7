#pragma once
// Runs the real brantel-quote-server on a free loopback port and talks raw
// HTTP to it, so tests see every byte the viewer would see.

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <arpa/inet.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quote_server_test {

inline std::string BinDir() {
  const char* env = std::getenv("BRANTEL_BIN_DIR");
  return env && *env ? env : BRANTEL_BIN_DIR;
}

class ServerProcess {
 public:
  // Starts the server with `args` plus "--port 0" and waits for its
  // "listening on 127.0.0.1:PORT" line (never a fixed sleep).
  explicit ServerProcess(const std::vector<std::string>& args) {
    char log_template[] = "/tmp/quote_server_log_XXXXXX";
    const int log_fd = mkstemp(log_template);
    log_path_ = log_template;
    int out[2];
    if (log_fd < 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(log_fd, 2);
      close(out[0]);
      std::vector<std::string> all = {BinDir() + "/brantel-quote-server", "--port", "0"};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char*> argv;
      for (auto& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    close(log_fd);
    stdout_fd_ = out[0];
    first_line_ = ReadLine(stdout_fd_, 15000);
    const std::string prefix = "listening on 127.0.0.1:";
    if (first_line_.rfind(prefix, 0) == 0) port_ = std::atoi(first_line_.c_str() + prefix.size());
  }
  ~ServerProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    if (stdout_fd_ >= 0) close(stdout_fd_);
    if (!log_path_.empty()) unlink(log_path_.c_str());
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }
  const std::string& first_line() const { return first_line_; }
  std::string Log() const {
    std::ifstream in(log_path_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Exit status once the process has ended by itself (-1 while running).
  int WaitExit() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  static std::string ReadLine(int fd, int timeout_ms) {
    std::string line;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (std::chrono::steady_clock::now() < end) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char c = 0;
      if (read(fd, &c, 1) != 1) break;
      if (c == '\n') break;
      line += c;
    }
    return line;
  }

  pid_t pid_ = -1;
  int stdout_fd_ = -1;
  int port_ = 0;
  std::string first_line_;
  std::string log_path_;
};

struct HttpReply {
  bool connected = false;
  int status = 0;
  std::string head;     // status line and headers, without the blank line
  std::string body;     // everything after the blank line
  long content_length = -1;
  int reads = 0;        // how many pieces the answer came in
  double elapsed_ms = 0;
};

// Sends `request` to 127.0.0.1:port and reads until the server closes.
inline HttpReply Exchange(int port, const std::string& request, int timeout_ms = 20000) {
  HttpReply reply;
  const auto start = std::chrono::steady_clock::now();
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(uint16_t(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return reply;
  }
  reply.connected = true;
  size_t sent = 0;
  while (sent < request.size()) {
    const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += size_t(n);
  }
  std::string all;
  char buf[65536];
  while (true) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) break;
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    all.append(buf, size_t(n));
    ++reply.reads;
  }
  close(fd);
  reply.elapsed_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const size_t split = all.find("\r\n\r\n");
  if (split == std::string::npos) {
    reply.head = all;
    return reply;
  }
  reply.head = all.substr(0, split);
  reply.body = all.substr(split + 4);
  if (reply.head.size() > 12) reply.status = std::atoi(reply.head.c_str() + 9);
  const size_t cl = reply.head.find("Content-Length: ");
  if (cl != std::string::npos) reply.content_length = std::atol(reply.head.c_str() + cl + 16);
  return reply;
}

// The request the viewer sends: its own head, the document as the body.
inline std::string ViewerPost(const std::string& path, int port, const std::string& document) {
  return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
         "\r\nContent-Type: text/xml;\r\nCache-Control: no-cache\r\nConnection: close\r\nContent-Length: " +
         std::to_string(document.size()) + "\r\n\r\n" + document;
}

// A request document as the viewer builds it.
inline std::string Document(const std::string& layout, const std::string& groups, const std::string& server_date = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><Layout>" + layout +
         "</Layout><Msisdn>01012345678</Msisdn><Os>WM6.1</Os><Filler></Filler><Version>1.0</Version><ServerDate>" +
         server_date + "</ServerDate> </Header> <Body> " + groups + " </Body>  </SmartPhone>";
}

struct Part {
  std::string headers;
  std::string data;
};

// Splits a multipart answer the strict way: the first line is "--" and the
// boundary, parts end with CRLF before the next delimiter, the last delimiter
// carries "--". False when the body does not have that shape.
inline bool SplitMultipart(const std::string& body, std::vector<Part>& parts) {
  parts.clear();
  const size_t eol = body.find("\r\n");
  if (eol == std::string::npos || body.compare(0, 2, "--") != 0) return false;
  const std::string delimiter = body.substr(0, eol);
  size_t pos = eol + 2;
  while (true) {
    const size_t head_end = body.find("\r\n\r\n", pos);
    if (head_end == std::string::npos) return false;
    Part part;
    part.headers = body.substr(pos, head_end - pos);
    const size_t data_start = head_end + 4;
    const size_t next = body.find("\r\n" + delimiter, data_start);
    if (next == std::string::npos) return false;
    part.data = body.substr(data_start, next - data_start);
    parts.push_back(std::move(part));
    pos = next + 2 + delimiter.size();
    if (body.compare(pos, 4, "--\r\n") == 0) return pos + 4 == body.size();
    if (body.compare(pos, 2, "\r\n") != 0) return false;
    pos += 2;
  }
}

}  // namespace quote_server_test
