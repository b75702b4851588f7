#include "app/dialogs/dialog_button.h"

#include "controls/image_drawing.h"

namespace brantel {

namespace {

constexpr uint32_t kButtonPicture = 1075;
constexpr uint32_t kButtonPressedPicture = 1076;

}  // namespace

void PaintDialogButton(DeviceContext& dc, const ResourceLibraryRef& library, const Rect& button, WideView caption,
                       bool pressed) {
  DrawResourcePicture(dc, button.left, button.top, button.Width(), button.Height(), library,
                      pressed ? kButtonPressedPicture : kButtonPicture);
  dc.DrawText(caption, pressed ? button.Offset(0, 2) : button, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace brantel
