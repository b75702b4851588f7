#pragma once
// nginx as an independent HTTP server for the updater tests: serves the files
// of a folder on a free 127.0.0.1 port and answers POST on static files like
// GET (error_page 405 =200 $uri). Skipped by the caller when nginx cannot run.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/loopback_listener.h"

extern char** environ;

namespace brantel::testing {

class NginxServer {
 public:
  // Serves `root` from `work_dir` (which receives the configuration, logs and
  // temporary folders); `http_extra` adds directives to the http block. Check
  // started() and why_not() afterwards.
  NginxServer(const std::string& root, const std::string& work_dir, const std::string& http_extra = "") {
    const char* binary = "/usr/sbin/nginx";
    if (access(binary, X_OK) != 0) {
      why_not_ = "nginx is not installed at /usr/sbin/nginx";
      return;
    }
    port_ = testing_support::FreeLoopbackPort();
    const std::string conf = work_dir + "/nginx.conf";
    std::ofstream(conf) << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
                        << "pid " << work_dir << "/nginx.pid;\nerror_log " << work_dir << "/error.log;\n"
                        << "events { worker_connections 64; }\nhttp {\n  access_log off;\n" << http_extra
                        << "  client_body_temp_path " << work_dir << "/body;\n"
                        << "  proxy_temp_path " << work_dir << "/proxy;\n"
                        << "  fastcgi_temp_path " << work_dir << "/fastcgi;\n"
                        << "  uwsgi_temp_path " << work_dir << "/uwsgi;\n"
                        << "  scgi_temp_path " << work_dir << "/scgi;\n"
                        << "  server {\n    listen 127.0.0.1:" << port_ << ";\n    root " << root << ";\n"
                        << "    error_page 405 =200 $uri;\n  }\n}\n";
    std::string prefix = work_dir + "/";
    const char* argv[] = {binary, "-p", prefix.c_str(), "-c", conf.c_str(), nullptr};
    if (posix_spawn(&pid_, binary, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
      pid_ = -1;
      why_not_ = "nginx could not be started";
      return;
    }
    for (int i = 0; i < 300; ++i) {
      if (testing_support::AcceptsConnections(port_)) return;
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        why_not_ = "nginx exited at start; see " + work_dir + "/error.log";
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    why_not_ = "nginx did not accept connections within 3 s";
  }
  ~NginxServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
  }
  bool started() const { return pid_ > 0 && why_not_.empty(); }
  const std::string& why_not() const { return why_not_; }
  int port() const { return port_; }
  std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string why_not_;
};

}  // namespace brantel::testing
