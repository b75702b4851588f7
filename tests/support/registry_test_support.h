#pragma once
// Helpers shared by the registry tests (and the cache's damaged-file tests):
// a way to run this same test program as a second process (the private data
// folder is the shared TempDataFolder), and a way to run a check without
// root's rights.

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

extern char** environ;

namespace brantel::testing {

// Starts this test program again running only `filter`, with `env` added to
// its environment (BRANTEL_HOME is inherited). Returns the child's pid.
inline pid_t StartSelf(const std::string& filter, const std::vector<std::string>& env) {
  std::vector<std::string> args = {"/proc/self/exe", "--gtest_filter=" + filter};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envs(env);
  for (char** e = environ; *e; ++e) envs.push_back(*e);
  std::vector<char*> envp;
  for (auto& e : envs) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  std::string exe = "/proc/self/exe";
  if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

inline int WaitExit(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs `check` as an ordinary user (root reads and writes anything, so a
// refused permission needs another user), in a forked child; the result is
// the child's exit status (`check`'s result), -1 when it did not exit.
inline int RunWithoutRoot(const std::function<int()>& check) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    _exit(check());
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace brantel::testing
