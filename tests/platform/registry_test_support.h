#pragma once
// Helpers shared by the registry tests: a way to run this same test program
// as a second process (the private data folder is the shared TempDataFolder).

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
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

}  // namespace brantel::testing
