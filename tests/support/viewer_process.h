#pragma once
// BrantelStock run as its own process for one test: a private program
// folder (copies of the viewer and its resource library, a Config_MNUV.txt
// pointing at a given port), a private data folder that the test process
// shares through BRANTEL_HOME (so the test reads and writes the same
// registry and cache with the viewer's own routines), headless, with a
// script of input steps and a fixed clock on the system bar.
//
//   QuoteServerProcess server;
//   ViewerProcess viewer;
//   viewer.PointAt(server.port());
//   viewer.SetScript("idle\nwait 1500\n" + viewer.DumpStep() + "quit\n");
//   ViewerRun run = viewer.Run(20000);   // exit code, or timed out
//   viewer.Dumps();                      // the window trees the script wrote
//
// Start()/Wait() run it in the background while the test does something
// else (posts to its window, say). Screenshots: viewer.File("x.png").

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace brantel::testing {

struct ViewerRun {
  bool timed_out = false;
  int exit_code = -1;  // when it ended by itself
};

class ViewerProcess {
 public:
  ViewerProcess() : program_("brantel-viewer-bin") {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const char* name : {"BrantelStock", "stock_resource.so"})
      fs::copy_file(BinDir() + "/" + name, program_ / name, fs::copy_options::overwrite_existing, ec);
    log_path_ = work_ / "stderr.log";
    dump_path_ = work_ / "windows.txt";
  }
  ~ViewerProcess() { Kill(); }
  ViewerProcess(const ViewerProcess&) = delete;
  ViewerProcess& operator=(const ViewerProcess&) = delete;

  // The program folder (with a trailing "/") and the data folder.
  std::string program_folder() const { return program_.path() + "/"; }
  const std::string& data_folder() const { return data_.path(); }
  // A file in the test's scratch folder (screenshots, helper files).
  std::string File(const std::string& name) const { return work_ / name; }

  // Config_MNUV.txt: server 0 at 127.0.0.1:`port`, the manifest there too.
  void PointAt(int port) {
    const std::string p = std::to_string(port);
    WriteFile(program_ / "Config_MNUV.txt", "[SELECT_SERVER]\r\nserver_type=0\r\n[SERVER_0]\r\nserver_ip=127.0.0.1\r\n"
                                            "server_port=" + p + "\r\n[UPDATE]\r\nuri=/update/\r\nport=" + p + "\r\n");
  }
  // The script in the text format of platform/ui/script_player.h.
  void SetScript(const std::string& text) { WriteFile(work_ / "script.txt", text); }
  // A script step that appends the window tree to the dump file.
  std::string DumpStep() const { return "dump " + dump_path_ + "\n"; }
  // The window trees written so far, one per dump step.
  std::vector<std::string> Dumps() const {
    std::vector<std::string> out;
    const std::string all = ReadFile(dump_path_);
    size_t pos = 0, end;
    while ((end = all.find("--\n", pos)) != std::string::npos) {
      out.push_back(all.substr(pos, end - pos));
      pos = end + 3;
    }
    return out;
  }
  std::string Log() const { return ReadFile(log_path_); }

  // An environment variable for the next runs (replacing an earlier value).
  void SetEnv(const std::string& name, const std::string& value) {
    std::erase_if(extra_env_, [&](const std::string& e) { return e.rfind(name + "=", 0) == 0; });
    extra_env_.push_back(name + "=" + value);
  }

  // Starts the viewer with `args` after the display options.
  bool Start(const std::vector<std::string>& args = {}) {
    std::vector<std::string> all = {program_ / "BrantelStock", "--headless", "--script", work_ / "script.txt"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_text = {"BRANTEL_HOME=" + data_.path(), "BRANTEL_DISPLAY=headless",
                                         "BRANTEL_FIXED_CLOCK=12:00"};
    env_text.insert(env_text.end(), extra_env_.begin(), extra_env_.end());
    for (char** e = environ; *e; ++e) {
      const std::string v = *e;
      if (v.rfind("BRANTEL_HOME=", 0) && v.rfind("BRANTEL_DISPLAY=", 0) && v.rfind("BRANTEL_FIXED_CLOCK=", 0))
        env_text.push_back(v);
    }
    std::vector<char*> env;
    for (auto& e : env_text) env.push_back(e.data());
    env.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, log_path_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    const int r = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (r != 0) pid_ = -1;
    return pid_ > 0;
  }
  // Waits up to `timeout_ms` for the viewer to end by itself; then kills it.
  ViewerRun Wait(int timeout_ms) {
    ViewerRun run;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (pid_ > 0) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
      }
      if (std::chrono::steady_clock::now() >= end) {
        Kill();
        run.timed_out = true;
        return run;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return run;
  }
  ViewerRun Run(int timeout_ms, const std::vector<std::string>& args = {}) {
    if (!Start(args)) return {};
    return Wait(timeout_ms);
  }
  bool running() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  // Without waiting: true (and how) when the viewer has ended by itself.
  bool Ended(ViewerRun& run) {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) return false;
    pid_ = -1;
    run = ViewerRun{};
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
  }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  TempDataFolder data_{"brantel-viewer-home"};
  TempFolder program_;
  TempFolder work_{"brantel-viewer-work"};
  std::string log_path_;
  std::string dump_path_;
  std::vector<std::string> extra_env_;
  pid_t pid_ = -1;
};

}  // namespace brantel::testing
