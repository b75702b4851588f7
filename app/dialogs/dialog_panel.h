#pragma once
// What the message box and the help dialog share: the dimmed screen under
// the dialog with a panel stretched from three pictures over it, and buttons
// that act when the pointer is released over them.

#include <cstdint>

#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/messages.h"
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

// The pointer over such buttons: a press calls `press` with the point (client
// coordinates) and captures the pointer; a release lets the capture go and
// calls `release`, which acts when the release chose a button. Both repaint
// the dialog. False for any other message.
template <typename Press, typename Release>
bool HandleButtonPointer(Window& dialog, uint32_t message, LPARAM lParam, Press&& press, Release&& release) {
  if (message != WM_LBUTTONDOWN && message != WM_LBUTTONUP) return false;
  const Point point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (message == WM_LBUTTONDOWN) {
    press(point);
    SetCapture(dialog.hwnd());
    dialog.Invalidate();
  } else {
    if (GetCapture() == dialog.hwnd()) ReleaseCapture();
    dialog.Invalidate();
    release(point);
  }
  return true;
}

}  // namespace brantel
