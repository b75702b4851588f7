#include "app/common/dimmed_screen.h"

#include "platform/ui/screen.h"

namespace brantel {

Surface CaptureDimmedScreen(uint8_t alpha, HWND below) {
  Surface screen;
  if (below)
    CopyScreenBelow(below, screen);
  else
    CopyScreen(screen);
  DeviceContext dc(screen);
  dc.BlendSolid(screen.bounds(), RGB(0, 0, 0), alpha);
  return screen;
}

void PaintDimmedScreen(DeviceContext& dc, const Surface& dimmed, Point client_screen_origin, const Rect& client_part) {
  dc.BitBlt(client_part.left, client_part.top, client_part.Width(), client_part.Height(), dimmed,
            client_part.left + client_screen_origin.x, client_part.top + client_screen_origin.y);
}

}  // namespace brantel
