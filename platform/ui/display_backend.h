#pragma once
// The contract every display backend keeps. All calls but Wake happen on the
// UI thread.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"

namespace brantel {

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  // Opens the output for a screen of this size. False when it cannot.
  virtual bool Create(int width, int height) = 0;
  // Shows the composed screen.
  virtual void Present(const Surface& screen) = 0;
  // Shows the screen, of which only `area` changed, from any thread (an
  // animation thread while the UI thread is blocked). The display serialises
  // it with Present.
  virtual void PresentFromAnyThread(const Surface& screen, const Rect& area) = 0;
  // Turns pending input into input-router calls; never blocks.
  virtual void PumpInput() = 0;
  // Blocks until input arrives, Wake is called or `timeout_ms` passes
  // (0xFFFFFFFF = no limit). A Wake before the call makes it return at once.
  virtual void Wait(uint32_t timeout_ms) = 0;
  // Any thread.
  virtual void Wake() = 0;
  // The screen turned: the new size of the output.
  virtual void SetOrientation(int width, int height) = 0;
  // The input panel went up or down: text input on or off.
  virtual void SetTextInput(bool on) = 0;
  // The desktop's clipboard as UTF-8 text; a backend without one keeps the
  // defaults and platform/ui/clipboard.h holds the text in the process.
  virtual bool SetClipboardText(const std::string& /*utf8*/) { return false; }
  virtual std::optional<std::string> GetClipboardText() { return std::nullopt; }
  // The picture the desktop shows for the window (straight-alpha pixels).
  virtual void SetIcon(const Surface& icon) { (void)icon; }
  virtual const char* name() const = 0;
};

}  // namespace brantel
