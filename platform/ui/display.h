#pragma once
// The display: the backend that shows the composed screen and delivers input
// (SDL2 window for people, headless in-memory screen for tests and scripts),
// attached to the UI thread's message loop.
//
// Without a started display windows still work: they paint into their
// backing surfaces and the screen can be composed and read back, which is
// what most tests need.

#include <memory>
#include <string>

#include "platform/ui/display_backend.h"

namespace brantel {

enum class DisplayKind { kHeadless, kSdl };

struct DisplayOptions {
  DisplayKind kind = DisplayKind::kHeadless;
  int scale_percent = 0;     // SDL window size relative to the device screen; 0 fits the display
  bool fullscreen = false;   // SDL: the whole display, the screen kept in proportion
  bool system_bar = true;    // create the shell's system bar
  std::string script_path;   // scripted input to play (text format)
};

// --headless / --sdl on the command line, else BRANTEL_DISPLAY ("headless" or
// "sdl"), else SDL when DISPLAY or WAYLAND_DISPLAY is set, else headless.
DisplayKind ChooseDisplayKind(int argc, char** argv);
// Fills options from the command line: the kind, --scale N (percent),
// --fullscreen, --script FILE.
DisplayOptions ParseDisplayOptions(int argc, char** argv);
// The text --help prints about the display, its keys and options.
std::string DisplayHelpText();

// Starts the display on the calling thread, which becomes the UI thread.
// False when the backend could not start (SDL without a display).
bool StartDisplay(const DisplayOptions& options);
// Starts a display with a given backend (tests use a headless one).
bool StartDisplayWith(std::unique_ptr<DisplayBackend> backend, bool system_bar);
void StopDisplay();
bool IsDisplayRunning();
DisplayBackend* CurrentDisplayBackend();

// The program's icon on the desktop (the SDL window's); nothing headless
// or without a started display.
void SetDisplayIcon(const Surface& icon);

// Composes `area` of the screen (screen coordinates) and presents it at
// once; any thread. Nothing without a display. (DrawAndPresent uses it.)
void PresentScreenArea(const Rect& area);

// Wakes the UI thread so it composes and presents (any thread).
void WakeDisplayThread();

// Something besides the backend that produces input on the UI thread (the
// script player). Polled whenever the loop looks for input.
class InputSource {
 public:
  virtual ~InputSource() = default;
  virtual void Poll() = 0;
  // Milliseconds until it next has something to do; 0xFFFFFFFF for never.
  virtual uint32_t NextDueMs() = 0;
};
void AddInputSource(InputSource* source);
void RemoveInputSource(InputSource* source);

}  // namespace brantel
