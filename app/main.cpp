// BrantelStock, the viewer. Display options (--headless, --sdl, --scale N,
// --script FILE) may be given. The arguments joined by spaces are the
// viewer's own command line, where only the updater's markers matter (the
// updater restarts it with one, and then it does not start the updater).

#include <cstdio>
#include <cstring>

#include "app/server_selection.h"
#include "app/startup/stock_app.h"
#include "platform/ui/display.h"
#include "platform/ui/other_programs_link.h"
#include "platform/ui/shell.h"

using namespace brantel;

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("BrantelStock [display options] [command line]\n\n%s"
                  "  window close button  ends the viewer through its shown screen\n",
                  DisplayHelpText().c_str());
      return 0;
    }
  }
  DisplayOptions options = ParseDisplayOptions(argc, argv);
  if (!StartDisplay(options)) {
    options.kind = DisplayKind::kHeadless;
    if (!StartDisplay(options)) return 1;
  }
  // The back, end and talk keys and the window's close button reach the
  // main dialog as the device's system messages.
  EnableSystemKeyMessages(true);
  // The updater finds and closes the viewer through its published window.
  ConnectToOtherPrograms();
  int result;
  {
    CStockApp app(CommandLineFromArguments(argc, argv));
    result = app.Run();
  }
  DisconnectFromOtherPrograms();
  StopDisplay();
  return result;
}
