#pragma once
// WM_PAINT through an off-screen buffer: the control draws its whole client
// into `buffer` (resized to the client as needed), which is then copied to
// the window in one go, so a paint never shows half-drawn layers.

#include <functional>

#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"
#include "platform/ui/window.h"

namespace brantel {

using DrawClient = std::function<void(DeviceContext& dc, const Rect& client)>;

// Call from the WM_PAINT handler; validates the window like a PaintScope.
void PaintBuffered(Window& window, Surface& buffer, const DrawClient& draw);

}  // namespace brantel
