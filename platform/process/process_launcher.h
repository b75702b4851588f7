#pragma once
// Starting and ending programs.
//
// A program gets its whole command line as one argument (argv[1]), as the
// device hands a command line to a new process; an empty command line gives
// no argument. Started programs run in their own process group, so a Ctrl+C
// meant for one program does not end the other. Children started without
// waiting are reaped in the background; their exit code can still be
// waited for.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace brantel {

struct StartedProgram {
  bool started = false;
  int pid = 0;
  int exit_code = -1;  // when waited for: the exit status, or 128 + signal
};

StartedProgram StartProgram(const std::string& path, std::string_view command_line, bool wait);

// The program `device_name` in the program folder: the device's ".exe"
// ending is dropped ("StockUpdater.exe" is ProgramFolder() + "StockUpdater").
std::string ProgramPathInFolder(WideView device_name);
StartedProgram StartProgramFromFolder(WideView device_name, WideView command_line, bool wait);

// Waits up to `timeout_ms` for a program started without waiting to end.
// True with its exit code when it ended; false on timeout or an unknown pid.
bool WaitForProgram(int pid, uint32_t timeout_ms, int* exit_code = nullptr);

// Ends process `pid`: SIGTERM, and SIGKILL when it still runs after
// `grace_ms`. True when the process is gone. Never ends the calling process.
bool TerminateProgram(int pid, uint32_t grace_ms = 3000);

}  // namespace brantel
