#include "app/dialogs/help_dlg.h"

#include "app/common/dimmed_screen.h"
#include "app/common/screen_layout.h"
#include "app/dialogs/dialog_button.h"
#include "app/dialogs/dialog_panel.h"
#include "app/rotation.h"
#include "controls/image_drawing.h"
#include "platform/gfx/font.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"

namespace brantel {
namespace {

constexpr uint8_t kDimAlpha = 191;
constexpr uint32_t kPanelTop = 1089, kPanelMiddle = 1090, kPanelBottom = 1091;
constexpr uint32_t kTickedPicture = 1092, kUntickedPicture = 1093;
constexpr int kPanelLeft = 18, kPanelWidth = 445, kPanelCap = 20;
constexpr int kPanelBottomEdge = 702;

const Font& HelpFont(int height) {
  static const Font f32(kGothicFace, 32), f34(kGothicFace, 34), f40(kGothicFace, 40);
  return height == 40 ? f40 : height == 34 ? f34 : f32;
}

}  // namespace

void HelpChoice::Press(Point p) {
  if (kHelpTickRect.Contains(p)) ticked_ = !ticked_;
  ok_pressed_ = kHelpOkRect.Contains(p);
}

bool HelpChoice::Release(Point p) {
  bool close = ok_pressed_ && kHelpOkRect.Contains(p);
  ok_pressed_ = false;
  return close;
}

void TurnHelpOff() {
  RegistryKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL")) return;
  if (!key.Create(HKEY_LOCAL_MACHINE, kHelpSettingsKeyPath)) return;
  key.SetDword(kHelpTurnedOffValue, 1);
}

bool IsHelpTurnedOff() {
  RegistryKey key;
  uint32_t value = 0;
  return key.Open(HKEY_LOCAL_MACHINE, kHelpSettingsKeyPath) && key.QueryDword(kHelpTurnedOffValue, &value) &&
         value == 1;
}

bool CHelpDlg::Open(Window* owner) {
  owner_ = owner ? owner->hwnd() : 0;
  ForcePortrait();
  ShowInputPanelButton(false);
  SetInputPanel(false);
  SetInitialRect(PortraitDialogRect());
  if (!CreateModeless(owner)) return false;
  SetTopMost(true);
  return true;
}

bool CHelpDlg::OnInitDialog() {
  dimmed_ = CaptureDimmedScreen(kDimAlpha, hwnd());
  page_.Create(kHelpPageRect, this);
  return true;
}

void CHelpDlg::Finish() {
  if (choice_.ticked()) TurnHelpOff();
  if (owner_ && IsWindow(owner_))
    PostMessage(owner_, WM_HELP_CLOSED, 0, 0);
  else
    Destroy();
}

LRESULT CHelpDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  const bool handled = HandleButtonPointer(
      *this, message, lParam, [this](Point p) { choice_.Press(p); },
      [this](Point p) {
        if (choice_.Release(p)) Finish();
      });
  return handled ? 0 : Dialog::WindowProc(message, wParam, lParam);
}

void CHelpDlg::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  DeviceContext& dc = paint.dc();
  const ResourceLibraryRef lib = ProcessResources();
  PaintDimmedPanel(dc, *this, dimmed_, lib, Rect{kPanelLeft, 0, kPanelLeft + kPanelWidth, kPanelBottomEdge},
                   PanelArt{kPanelTop, kPanelMiddle, kPanelBottom, kPanelCap, kPanelCap});
  dc.SelectFont(HelpFont(40));
  dc.DrawText(u"이용안내", Rect{18, 0, 463, 80}, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  DrawResourcePicture(dc, kHelpTickRect.left, kHelpTickRect.top, 52, 52, lib,
                      choice_.ticked() ? kTickedPicture : kUntickedPicture);
  dc.SelectFont(HelpFont(34));
  dc.DrawText(u"다시 보지않기", Rect{99, 550, 378, 592}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc.SelectFont(HelpFont(32));
  PaintDialogButton(dc, lib, kHelpOkRect, u"확인", choice_.ok_pressed());
}

}  // namespace brantel
