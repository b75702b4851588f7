#pragma once
// The dimmed backgrounds of the message box, help and loading dialogs: a
// copy of the screen as it is when the dialog opens, darkened by black
// blended over it, painted behind the dialog so the screen shows through
// darker.

#include <cstdint>

#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// The screen now, with black blended over it at `alpha` (210 for the message
// box, 191 for the help and loading dialogs). With `below`, a dialog that is
// already shown, only what lies under it.
Surface CaptureDimmedScreen(uint8_t alpha, HWND below = 0);

// Paints the part of `dimmed` that lies under a window whose client area
// starts at `client_screen_origin`, over `client_part` (client coordinates).
void PaintDimmedScreen(DeviceContext& dc, const Surface& dimmed, Point client_screen_origin, const Rect& client_part);

}  // namespace brantel
