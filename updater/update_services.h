#pragma once
// What the update needs from outside itself: the windows and processes of
// other programs, the window it reports to, and the component and registry
// script services. StockUpdater uses the platform's; tests may watch calls.

#include <cstdint>
#include <string>

#include "platform/text.h"

namespace brantel {

// A window of this or another program; 0 for none.
using ProgramWindow = uint64_t;

class UpdateServices {
 public:
  virtual ~UpdateServices() = default;

  // A top-level window by class and title; an empty text matches any.
  virtual ProgramWindow FindProgramWindow(WideView wnd_class, WideView wnd_name) = 0;
  virtual void PostToWindow(ProgramWindow window, uint32_t message) = 0;
  // Ends the process that owns the window (SIGTERM, then SIGKILL).
  virtual void TerminateWindowProcess(ProgramWindow window) = 0;
  // Starts a program with one command-line text (empty: none), not waiting.
  virtual void StartProgram(const std::string& path, WideView command_line) = 0;

  // Registers an installed component; the stand-in reports success.
  virtual bool RegisterComponent(const std::string& path) = 0;
  // Imports a registry script (.reg) into the registry store, waiting for it.
  virtual bool ImportRegistryScript(const std::string& path) = 0;

  // Lets pending window messages through; true when WM_CANCEL_NETWORK was seen.
  virtual bool LetMessagesThrough() = 0;
  // Sends WM_UPDATE_PROGRESS to the updater window (synchronously).
  virtual void ReportProgress(intptr_t code, intptr_t value) = 0;
};

}  // namespace brantel
