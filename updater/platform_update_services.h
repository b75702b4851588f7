#pragma once
// The update's outside services on the platform: windows of other programs
// through the window system, processes through the process stand-in, the
// window's own message queue for letting messages through, and the registry
// importer for scripts.

#include "platform/ui/ui_types.h"
#include "updater/update_services.h"

namespace brantel {

class PlatformUpdateServices : public UpdateServices {
 public:
  // `window`: the updater window that receives WM_UPDATE_PROGRESS (0: none).
  explicit PlatformUpdateServices(HWND window) : window_(window) {}

  ProgramWindow FindProgramWindow(WideView wnd_class, WideView wnd_name) override;
  void PostToWindow(ProgramWindow window, uint32_t message) override;
  void TerminateWindowProcess(ProgramWindow window) override;
  void StartProgram(const std::string& path, WideView command_line) override;
  bool RegisterComponent(const std::string& path) override;
  bool ImportRegistryScript(const std::string& path) override;
  bool LetMessagesThrough() override;
  void ReportProgress(intptr_t code, intptr_t value) override;

 private:
  HWND window_;
};

// Handles the messages pending for the calling thread; the first
// WM_CANCEL_NETWORK ends it (true) without being dispatched. A WM_QUIT is
// posted again and counts as a cancel. A timer that fires again while its
// handler runs is handled once, so the call always returns.
bool LetPendingMessagesThrough();

}  // namespace brantel
