// A stand-in for a program the updater closes and restarts: it notes each
// start with its command line in $HELPER_LOG, shows a top-level window of
// class "Helper_Class" that the other program can find, and ends when that
// window gets WM_APP_EXIT. Started with the updater's marker it only notes
// the start and ends.

#include <fstream>
#include <string>

#include "platform/ui/message_queue.h"
#include "platform/ui/other_programs_link.h"
#include "platform/ui/window.h"

using namespace brantel;

namespace {

void Note(const std::string& line) {
  if (const char* log = std::getenv("HELPER_LOG")) std::ofstream(log, std::ios::app) << line << "\n";
}

class HelperWindow : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == 0x800A) {  // WM_APP_EXIT
      Note("closing");
      Destroy();
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProc(message, wParam, lParam);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::string command_line = argc > 1 ? argv[1] : "";
  Note("started " + command_line);
  if (command_line.find("STOCK_AUTO_UPDATE") != std::string::npos ||
      command_line.find("UPDATE_USER_CANCEL") != std::string::npos)
    return 0;
  ConnectToOtherPrograms();
  HelperWindow window;
  if (!window.Create(u"Helper_Class", u"helper", WS_VISIBLE, Rect::FromSize(0, 0, 10, 10))) return 1;
  Note("window");
  const int code = RunMessageLoop();
  DisconnectFromOtherPrograms();
  return code;
}
