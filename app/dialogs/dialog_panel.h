#pragma once
// The backdrop of the message box and the help dialog: the dimmed screen
// under the dialog, and over it a panel stretched from three pictures.

#include <cstdint>

#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/window.h"

namespace brantel {

// The pictures of a panel from top to bottom and the heights of its two
// ends; the middle picture fills what lies between them.
struct PanelArt {
  uint32_t top, middle, bottom;
  int top_height, bottom_height;
};

// Paints `dimmed` over the client area of `dialog`, then the panel over
// `box`, and leaves white text on a transparent background selected for what
// the dialog writes on it.
void PaintDimmedPanel(DeviceContext& dc, const Window& dialog, const Surface& dimmed, const ResourceLibraryRef& library,
                      const Rect& box, const PanelArt& art);

}  // namespace brantel
