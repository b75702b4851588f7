#pragma once
// The project's reference information server (brantel-quote-server) on a
// free 127.0.0.1 port for one test: started with "--port 0" plus the test's
// arguments, its port read from the first line it prints ("listening on
// 127.0.0.1:PORT", never a fixed sleep), stopped when the object goes.
// Its standard error goes to a log file the test can read.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace brantel::testing {

// Where the project's programs were built: BRANTEL_BIN_DIR when set, else
// the build's own bin folder.
inline std::string BinDir() {
  const char* env = std::getenv("BRANTEL_BIN_DIR");
  return env && *env ? env : BRANTEL_BIN_DIR;
}

class QuoteServerProcess {
 public:
  explicit QuoteServerProcess(std::vector<std::string> extra_args = {}) {
    const std::string binary = BinDir() + "/brantel-quote-server";
    if (access(binary.c_str(), X_OK) != 0) {
      why_not_ = binary + " is not built";
      return;
    }
    std::vector<std::string> args = {binary, "--port", "0"};
    args.insert(args.end(), extra_args.begin(), extra_args.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    char log_template[] = "/tmp/quote_server_log_XXXXXX";
    const int log_fd = mkostemp(log_template, O_CLOEXEC);
    if (log_fd < 0) {
      why_not_ = "no log file for the reference server";
      return;
    }
    log_path_ = log_template;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
      close(log_fd);
      why_not_ = "no pipe for the reference server";
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, log_fd, 2);
    const int r = posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(log_fd);
    if (r != 0) {
      pid_ = -1;
      close(out[0]);
      why_not_ = "the reference server could not be started";
      return;
    }
    // The pipe stays open while the server runs, so later output never
    // meets a closed reader.
    stdout_fd_ = out[0];
    first_line_ = ReadLine(stdout_fd_, 15000);
    const std::string prefix = "listening on 127.0.0.1:";
    if (first_line_.rfind(prefix, 0) != 0) {
      why_not_ = "the reference server said: " + first_line_;
      return;
    }
    port_ = std::atoi(first_line_.c_str() + prefix.size());
  }
  ~QuoteServerProcess() {
    Stop();
    if (stdout_fd_ >= 0) close(stdout_fd_);
    if (!log_path_.empty()) unlink(log_path_.c_str());
  }
  QuoteServerProcess(const QuoteServerProcess&) = delete;
  QuoteServerProcess& operator=(const QuoteServerProcess&) = delete;

  void Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }
  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  const std::string& why_not() const { return why_not_; }
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
    while (line.size() < 200 && std::chrono::steady_clock::now() < end) {
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
  std::string why_not_;
  std::string log_path_;
};

}  // namespace brantel::testing
