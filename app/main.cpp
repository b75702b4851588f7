// BrantelStock, the viewer. Display options (--headless, --sdl, --scale N,
// --script FILE) may be given. The arguments joined by spaces are the
// viewer's own command line, where only the updater's markers matter (the
// updater restarts it with one, and then it does not start the updater).

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/server_selection.h"
#include "app/startup/stock_app.h"
#include "platform/ui/display.h"
#include "platform/ui/other_programs_link.h"
#include "platform/ui/shell.h"

using namespace brantel;

namespace {

// Headless was asked for (the option or BRANTEL_DISPLAY), not fallen into
// for want of a display.
bool HeadlessAskedFor(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--headless") == 0) return true;
  const char* env = std::getenv("BRANTEL_DISPLAY");
  return env && std::strcmp(env, "headless") == 0;
}

}  // namespace

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
  // Headless without a script would run unseen and unstoppable.
  if (options.kind == DisplayKind::kHeadless && options.script_path.empty() && !HeadlessAskedFor(argc, argv)) {
    std::fprintf(stderr,
                 "BrantelStock: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                 "to run without one: BrantelStock --headless --script FILE\n");
    return 2;
  }
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
