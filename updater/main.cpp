// StockUpdater: started by the viewer with "<viewer folder>|<manifest
// address>" as its one argument; display options (--headless, --sdl,
// --scale N, --fullscreen, --script FILE) may come before it.

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/ui/display.h"
#include "platform/ui/other_programs_link.h"
#include "platform/ui/window.h"
#include "updater/stock_updater_dlg.h"
#include "updater/updater_command_line.h"

using namespace brantel;

namespace {

// Exit status when a file of the release was not downloaded or not installed
// (0: installed, nothing due, or cancelled).
constexpr int kExitUpdateFailed = 1;

// The first argument that is not a display option is the command line.
std::string CommandLineArgument(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--scale" || arg == "--script") {
      ++i;
      continue;
    }
    if (arg.rfind("--", 0) == 0) continue;
    return arg;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("StockUpdater \"<viewer folder>|<manifest address>\"\n\n%s", DisplayHelpText().c_str());
      return 0;
    }
  }
  UpdaterCommandLine command_line;
  if (!ParseUpdaterCommandLine(Widen(CommandLineArgument(argc, argv)), command_line)) return 0;

  RegisterWindowClass(kUpdaterWindowClass);
  DisplayOptions options = ParseDisplayOptions(argc, argv);
  if (!StartDisplay(options)) {
    options.kind = DisplayKind::kHeadless;
    StartDisplay(options);
  }
  // The programs it closes and restarts are found and told through their
  // published windows.
  ConnectToOtherPrograms();
  bool failed;
  {
    CStockUpdaterDlg dialog(command_line);
    dialog.DoModal();
    failed = dialog.update_failed();
  }
  DisconnectFromOtherPrograms();
  StopDisplay();
  return failed ? kExitUpdateFailed : 0;
}
