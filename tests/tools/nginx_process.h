#pragma once
// nginx (Debian nginx-light) on a free 127.0.0.1 port for one test or
// benchmark, from a configuration of its own in a scratch folder; stopped
// when the object goes. `http_block` is what goes inside http { }; "@PORT@"
// in it becomes the chosen port and "@ROOT@" the scratch folder.

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <arpa/inet.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_listener.h"

extern char** environ;

namespace brantel::testing {

inline constexpr const char* kNginxBinary = "/usr/sbin/nginx";

class NginxProcess {
 public:
  explicit NginxProcess(std::string http_block) {
    if (access(kNginxBinary, X_OK) != 0) {
      why_not_ = "nginx is not installed";
      return;
    }
    char folder[] = "/tmp/brantel_nginx_XXXXXX";
    if (!mkdtemp(folder)) {
      why_not_ = "no scratch folder for nginx";
      return;
    }
    root_ = folder;
    chmod(folder, 0755);  // the workers may run as another user
    port_ = testing_support::FreeLoopbackPort();
    Replace(http_block, "@PORT@", std::to_string(port_));
    Replace(http_block, "@ROOT@", root_);
    std::ofstream(root_ + "/nginx.conf")
        << "daemon off;\nworker_processes auto;\npid " << root_ << "/nginx.pid;\nerror_log " << root_
        << "/error.log;\nevents { worker_connections 512; }\nhttp {\n  access_log off;\n"
        << "  client_body_temp_path " << root_ << "/body;\n  proxy_temp_path " << root_ << "/proxy;\n"
        << http_block << "\n}\n";
    std::vector<std::string> args = {kNginxBinary, "-p", root_, "-e", root_ + "/error.log", "-c", root_ + "/nginx.conf"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, kNginxBinary, nullptr, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
      why_not_ = "nginx could not be started";
      return;
    }
    for (int i = 0; i < 100 && !testing_support::AcceptsConnections(port_); ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        why_not_ = "nginx stopped: " + ErrorLog();
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!testing_support::AcceptsConnections(port_)) why_not_ = "nginx does not listen: " + ErrorLog();
  }
  ~NginxProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    if (!root_.empty()) std::filesystem::remove_all(root_, ec);
  }
  NginxProcess(const NginxProcess&) = delete;
  NginxProcess& operator=(const NginxProcess&) = delete;

  bool started() const { return why_not_.empty(); }
  const std::string& why_not() const { return why_not_; }
  int port() const { return port_; }
  const std::string& root() const { return root_; }
  std::string ErrorLog() const {
    std::ifstream in(root_ + "/error.log");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

 private:
  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
  }
  std::string root_;
  std::string why_not_;
  int port_ = -1;
  pid_t pid_ = -1;
};

}  // namespace brantel::testing
