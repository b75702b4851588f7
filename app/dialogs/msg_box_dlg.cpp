#include "app/dialogs/msg_box_dlg.h"

#include "app/common/dimmed_screen.h"
#include "app/dialogs/dialog_button.h"
#include "app/dialogs/dialog_panel.h"
#include "controls/image_drawing.h"
#include "platform/gfx/font.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"

namespace brantel {
namespace {

constexpr uint8_t kDimAlpha = 210;
constexpr uint32_t kBoxTopPicture = 1070;
constexpr uint32_t kBoxMiddlePicture = 1071;
constexpr uint32_t kBoxBottomPicture = 1072;

const Font& MsgBoxFont(int height) {
  static const Font caption(kGothicFace, kMsgBoxCaptionFontHeight);
  static const Font text(kGothicFace, kMsgBoxTextFontHeight);
  static const Font button(kGothicFace, kMsgBoxButtonFontHeight);
  return height == kMsgBoxCaptionFontHeight ? caption : height == kMsgBoxTextFontHeight ? text : button;
}

}  // namespace

int MsgBoxButtons::Release(int button) {
  int result = button >= 0 && button == pressed_ ? button + 1 : 0;
  pressed_ = -1;
  return result;
}

CMsgBoxDlg::CMsgBoxDlg(WideView caption, WideView text, int style)
    : caption_(caption), lines_(WrapMessageText(text)), style_(style) {
  SetInitialText(caption);
  SetInitialRect(GetWorkArea());
}

bool CMsgBoxDlg::OnInitDialog() {
  layout_ = LayOutMsgBox(int(lines_.size()), style_, ClientRect());
  dimmed_ = CaptureDimmedScreen(kDimAlpha, hwnd());
  Invalidate();
  return true;
}

int CMsgBoxDlg::ButtonAt(Point client) const {
  for (int i = 0; i < layout_.button_count; ++i)
    if (layout_.buttons[i].Contains(client)) return i;
  return -1;
}

LRESULT CMsgBoxDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const bool pointer = HandleButtonPointer(
      *this, message, lParam, [this](Point p) { buttons_.Press(ButtonAt(p)); },
      [this](Point p) {
        if (int result = buttons_.Release(ButtonAt(p))) EndDialog(result);
      });
  if (pointer) return 0;
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    // The system keys reach the active window, which is the box while it
    // is up: without this the back key could not leave a question.
    case WM_BACK_KEY:
    case WM_CLOSE_REQUEST:
      EndDialog(2);
      return 0;
    // Enter answers with the first button, as a desktop's boxes do.
    case WM_KEYDOWN:
      if (wParam != VK_RETURN) return Dialog::WindowProc(message, wParam, lParam);
      EndDialog(1);
      return 0;
    default:
      return Dialog::WindowProc(message, wParam, lParam);
  }
}

void CMsgBoxDlg::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  DeviceContext& dc = paint.dc();
  const ResourceLibraryRef lib = ProcessResources();
  const Rect& box = layout_.box;
  PaintDimmedPanel(dc, *this, dimmed_, lib, box,
                   PanelArt{kBoxTopPicture, kBoxMiddlePicture, kBoxBottomPicture, kMsgBoxCaptionHeight,
                            kMsgBoxBottomHeight});
  dc.SelectFont(MsgBoxFont(kMsgBoxCaptionFontHeight));
  dc.DrawText(caption_, Rect{box.left, box.top, box.right, box.top + kMsgBoxCaptionHeight},
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  dc.SelectFont(MsgBoxFont(kMsgBoxTextFontHeight));
  for (size_t i = 0; i < lines_.size(); ++i) {
    int top = layout_.text.top + int(i) * kMsgBoxLinePitch;
    dc.DrawText(lines_[i], Rect{layout_.text.left, top, layout_.text.right, top + kMsgBoxLineHeight},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  static const char16_t* const kCaptions[2] = {u"Ok", u"Cancel"};
  dc.SelectFont(MsgBoxFont(kMsgBoxButtonFontHeight));
  for (int i = 0; i < layout_.button_count; ++i)
    PaintDialogButton(dc, lib, layout_.buttons[i], kCaptions[i], buttons_.pressed() == i);
}

}  // namespace brantel
