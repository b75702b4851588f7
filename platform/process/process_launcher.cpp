#include "platform/process/process_launcher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/folders.h"
#include "platform/process/process_liveness.h"

extern char** environ;

namespace brantel {

namespace {

// Exit codes of children started without waiting, filled by their reapers.
std::mutex g_mutex;
std::condition_variable g_ended;
std::map<int, int> g_exit_codes;  // pid -> exit code, -1 while running

int DecodeStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

int Reap(int pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return DecodeStatus(status);
}

}  // namespace

StartedProgram StartProgram(const std::string& path, std::string_view command_line, bool wait) {
  StartedProgram out;
  if (path.empty() || access(path.c_str(), X_OK) != 0) return out;
  std::string arg0 = path, arg1(command_line);
  std::vector<char*> argv = {arg0.data()};
  if (!arg1.empty()) argv.push_back(arg1.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, path.c_str(), nullptr, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) return out;
  out.started = true;
  out.pid = pid;
  if (wait) {
    out.exit_code = Reap(pid);
    return out;
  }
  {
    std::lock_guard lock(g_mutex);
    g_exit_codes[pid] = -1;
  }
  std::thread([pid] {
    const int code = Reap(pid);
    std::lock_guard lock(g_mutex);
    g_exit_codes[pid] = code < 0 ? 255 : code;
    g_ended.notify_all();
  }).detach();
  return out;
}

std::string ProgramPathInFolder(WideView device_name) {
  std::string name = Narrow(device_name);
  if (name.size() > 4 && EqualsNoCaseNarrow(std::string_view(name).substr(name.size() - 4), ".exe"))
    name.resize(name.size() - 4);
  return JoinPath(ProgramFolder(), DevicePathToLinux(name));
}

StartedProgram StartProgramFromFolder(WideView device_name, WideView command_line, bool wait) {
  return StartProgram(ProgramPathInFolder(device_name), Narrow(command_line), wait);
}

bool WaitForProgram(int pid, uint32_t timeout_ms, int* exit_code) {
  std::unique_lock lock(g_mutex);
  auto it = g_exit_codes.find(pid);
  if (it == g_exit_codes.end()) return false;
  if (!g_ended.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return g_exit_codes[pid] >= 0; }))
    return false;
  if (exit_code) *exit_code = g_exit_codes[pid];
  return true;
}

bool TerminateProgram(int pid, uint32_t grace_ms) {
  if (pid <= 0 || pid == getpid()) return false;
  if (!IsProcessAlive(pid)) return true;
  kill(pid, SIGTERM);
  auto gone_within = [pid](uint32_t ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      if (!IsProcessAlive(pid)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < until);
    return !IsProcessAlive(pid);
  };
  if (gone_within(grace_ms)) return true;
  kill(pid, SIGKILL);
  return gone_within(2000);
}

}  // namespace brantel
