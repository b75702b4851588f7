#include "controls/update_bar_drawing.h"

#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"

namespace brantel {

int NextUpdateBarFrame(int frame) {
  return frame < 0 || frame >= kUpdateBarFrameCount - 1 ? 0 : frame + 1;
}

WideText UpdateBarText(WideView last_update) {
  WideText text = u"Updated : ";
  if (last_update.size() > 3) text += last_update.substr(3, 11);
  return text;
}

Rect UpdateBarAnimationRect(int bar_height) {
  const int y = (bar_height - 30) / 2;
  return Rect{440, y, 470, y + 30};
}

void DrawUpdateBar(DeviceContext& dc, const Rect& client, const ResourceLibraryRef& library, WideView last_update,
                   int frame) {
  dc.FillSolid(client, 0x000000);
  DrawResourcePicture(dc, 0, 0, client.Width(), client.Height(), library, kUpdateBarBackgroundPicture);
  const Rect logo = kUpdateBarLogoRect;
  DrawResourcePicture(dc, logo.left, logo.top, logo.Width(), logo.Height(), library, kUpdateBarLogoPicture);
  dc.SelectFont(ViewerFont(20));
  dc.SetTextColor(kUpdateBarTextColor);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(UpdateBarText(last_update), kUpdateBarTextRect, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);

  const Rect square = UpdateBarAnimationRect(client.Height());
  if (frame >= 0 && frame < kUpdateBarFrameCount) {
    DrawResourcePicture(dc, square.left, square.top, square.Width(), square.Height(), library,
                        kUpdateBarFirstFramePicture + uint32_t(frame));
  } else {
    dc.FillSolid(square, 0x000000);
  }
}

}  // namespace brantel
