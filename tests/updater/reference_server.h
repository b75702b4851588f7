#pragma once
// The project's reference server, brantel-quote-server, serving a folder of
// release files (--files) on a free 127.0.0.1 port.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern char** environ;

namespace brantel::testing {

class ReferenceServer {
 public:
  explicit ReferenceServer(const std::string& files_dir) {
    const char* bin = std::getenv("BRANTEL_BIN_DIR");
    const std::string binary = std::string(bin && *bin ? bin : BRANTEL_BIN_DIR) + "/brantel-quote-server";
    if (access(binary.c_str(), X_OK) != 0) {
      why_not_ = binary + " is not built";
      return;
    }
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const char* argv[] = {binary.c_str(), "--port", "0", "--files", files_dir.c_str(), nullptr};
    const int r = posix_spawn(&pid_, binary.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (r != 0) {
      pid_ = -1;
      close(out[0]);
      why_not_ = "the reference server could not be started";
      return;
    }
    // The first line is "listening on 127.0.0.1:PORT".
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
  ~ReferenceServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool started() const { return port_ > 0; }
  const std::string& why_not() const { return why_not_; }
  std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string why_not_;
};

}  // namespace brantel::testing
