#pragma once
// Shell stand-in details the rest of the window system and tests reach.

#include "platform/text.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// The window is gone: forget its full-screen state.
void ForgetShellWindow(HWND hwnd);
// Shows a fixed clock text instead of the time (stable screenshots); empty
// restores the real clock.
void SetSystemBarClockText(WideView fixed);

}  // namespace brantel
