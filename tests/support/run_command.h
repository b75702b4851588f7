#pragma once
// Runs a shell command line for a test and collects what it printed on
// standard output and standard error, with its exit code.

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace brantel::testing {

struct CommandRun {
  int exit_code = -1;  // -1 when it could not run or did not exit by itself
  std::string output;
};

inline CommandRun RunCommand(const std::string& command_line) {
  CommandRun run;
  FILE* pipe = popen((command_line + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace brantel::testing
