#pragma once
// The project's reference information server (brantel-quote-server) on a
// free 127.0.0.1 port for one test, stopped when the object goes.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace brantel::testing {

class QuoteServerProcess {
 public:
  explicit QuoteServerProcess(std::vector<std::string> extra_args = {}) {
    const char* bin = std::getenv("BRANTEL_BIN_DIR");
    const std::string binary = std::string(bin && *bin ? bin : BRANTEL_BIN_DIR) + "/brantel-quote-server";
    if (access(binary.c_str(), X_OK) != 0) {
      why_not_ = binary + " is not built";
      return;
    }
    std::vector<std::string> args = {binary, "--port", "0"};
    args.insert(args.end(), extra_args.begin(), extra_args.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int r = posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (r != 0) {
      pid_ = -1;
      close(out[0]);
      why_not_ = "the reference server could not be started";
      return;
    }
    // Its first line is "listening on 127.0.0.1:PORT".
    std::string line;
    char c;
    while (line.size() < 200 && read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    const size_t colon = line.rfind(':');
    if (line.rfind("listening on 127.0.0.1:", 0) != 0 || colon == std::string::npos) {
      why_not_ = "the reference server said: " + line;
      return;
    }
    port_ = std::atoi(line.c_str() + colon + 1);
  }
  ~QuoteServerProcess() { Stop(); }
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

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string why_not_;
};

}  // namespace brantel::testing
