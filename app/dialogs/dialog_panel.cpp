#include "app/dialogs/dialog_panel.h"

#include "app/common/dimmed_screen.h"
#include "controls/image_drawing.h"

namespace brantel {

void PaintDimmedPanel(DeviceContext& dc, const Window& dialog, const Surface& dimmed, const ResourceLibraryRef& library,
                      const Rect& box, const PanelArt& art) {
  PaintDimmedScreen(dc, dimmed, dialog.ClientToScreen(Point{0, 0}), dialog.ClientRect());
  DrawResourcePicture(dc, box.left, box.top, box.Width(), art.top_height, library, art.top);
  DrawResourcePicture(dc, box.left, box.top + art.top_height, box.Width(),
                      box.Height() - art.top_height - art.bottom_height, library, art.middle);
  DrawResourcePicture(dc, box.left, box.bottom - art.bottom_height, box.Width(), art.bottom_height, library,
                      art.bottom);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0xFF, 0xFF, 0xFF));
}

}  // namespace brantel
