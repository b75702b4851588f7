#pragma once
// The SDL2 display: a scalable desktop window, or the whole display with the
// screen in proportion (black bars); mouse and touch act as the finger; keys, text input and input-method composition; F9 turns the phone.

#include <memory>

#include "platform/ui/display_backend.h"

namespace brantel {

// Create() fails when SDL cannot open a window (no display). `fullscreen`
// ignores the scale. Scale 0: the size the user last chose by resizing, or
// 100 %, made smaller to fit the display's usable area (window_fit.h).
std::unique_ptr<DisplayBackend> MakeSdlBackend(int scale_percent, bool fullscreen = false);

}  // namespace brantel
