#include "updater/platform_update_services.h"

#include <unistd.h>

#include "platform/device/sleep_inhibitor.h"
#include "platform/process/process_launcher.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"
#include "protocol/app_messages.h"
#include "updater/update_work.h"
#include "updater/updater_dialog_services.h"
#include "updater/updater_registry.h"

namespace brantel {

namespace {
SleepInhibitor g_sleep_inhibitor;  // one updater window per process
}  // namespace

bool KeepSystemPowerOn() {
  g_sleep_inhibitor.Acquire("StockUpdater", "Downloading and installing an update of BrantelStock");
  return true;
}

void AllowSystemSleep() { g_sleep_inhibitor.Release(); }

bool SystemPowerHeldForTesting() { return g_sleep_inhibitor.held(); }

bool LetPendingMessagesThrough() {
  return PumpPendingMessagesUntil(WM_CANCEL_NETWORK) != PumpResult::kEmpty;
}

ProgramWindow PlatformUpdateServices::FindProgramWindow(WideView wnd_class, WideView wnd_name) {
  return FindWindow(wnd_class, wnd_name);
}

void PlatformUpdateServices::PostToWindow(ProgramWindow window, uint32_t message) {
  PostMessage(window, message, 0, 0);
}

void PlatformUpdateServices::TerminateWindowProcess(ProgramWindow window) {
  const int pid = int(HandleProcessId(window));
  // The updater never ends itself this way.
  if (pid > 0 && pid != getpid()) TerminateProgram(pid);
}

void PlatformUpdateServices::StartProgram(const std::string& path, WideView command_line) {
  brantel::StartProgram(path, Narrow(command_line), false);
}

// Component registration has no counterpart here: a stand-in that succeeds.
bool PlatformUpdateServices::RegisterComponent(const std::string&) { return true; }

bool PlatformUpdateServices::ImportRegistryScript(const std::string& path) {
  return ImportRegistryScriptIntoStore(path);
}

bool PlatformUpdateServices::LetMessagesThrough() { return LetPendingMessagesThrough(); }

void PlatformUpdateServices::ReportProgress(intptr_t code, intptr_t value) {
  if (window_) SendMessage(window_, WM_UPDATE_PROGRESS, WPARAM(code), value);
}

}  // namespace brantel
