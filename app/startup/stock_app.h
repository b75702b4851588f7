#pragma once
// The viewer's process entry: the resource library, the window class the
// updater finds the viewer by, the command-line copy, and the main dialog
// run modally for the life of the process.

#include <array>

#include "platform/text.h"

namespace brantel {

class CStockApp {
 public:
  // `command_line` is the viewer's own (its arguments joined by spaces).
  explicit CStockApp(WideView command_line);
  // Runs the viewer to its end; the display must be started. Returns the
  // process exit code.
  int Run();

  // The copy of the command line: 256 characters, zero-filled.
  WideText command_line() const;

 private:
  std::array<char16_t, 256> command_line_{};
};

}  // namespace brantel
