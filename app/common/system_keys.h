#pragma once
// A dialog over a screen hands the device's system keys to the screen that
// owns it: end, talk and the close request end the viewer (the exit
// command), back goes back (WM_SCREEN_BACK). The screen then closes what it
// opened in its own order.

#include <cstdint>

#include "platform/ui/ui_types.h"

namespace brantel {

// True when `message` is one of those keys (posted to `owner` when it has one).
bool ForwardSystemKeyToOwner(HWND owner, uint32_t message);

}  // namespace brantel
