#include "app/dialogs/version_info_dlg.h"

#include "app/common/screen_layout.h"
#include "app/common/system_keys.h"
#include "app/dialogs/version_text.h"
#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"
#include "platform/module_info.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"

namespace brantel {
namespace {

constexpr uint32_t kTitleBandPicture = 1034;
constexpr int kTitleBandHeight = 75;
constexpr int kRowTop = 85;
constexpr int kRowHeight = 32;

}  // namespace

CVersionInfoDlg::CVersionInfoDlg(std::string path) : path_(std::move(path)) {}

bool CVersionInfoDlg::Open(Window* owner) {
  owner_ = owner ? owner->hwnd() : 0;
  ResourceLibraryRef lib = ProcessResources();
  title_ = lib ? lib->String(kVersionTitleString) : WideText();
  SetInitialText(title_);
  SetInitialRect(GetWorkArea());
  return CreateModeless(owner);
}

bool CVersionInfoDlg::OnInitDialog() {
  rows_ = VersionRows(ReadVersionLines(path_), GetFileVersionText());
  MakeFullScreenDialog(hwnd());
  SetTitleBarButton(hwnd(), TITLE_BUTTON_OK);  // its tap is the close command 0x10000001
  const Rect client = ClientRect();
  if (menu_bar_.Create(LayOutScreen(client).menu_bar, this))
    menu_bar_.ShowMenu(kVersionMenu, false);
  return true;
}

void CVersionInfoDlg::RequestClose() {
  if (owner_) PostMessage(owner_, WM_VERSION_CLOSED, 0, 0);
}

bool CVersionInfoDlg::PreTranslateMessage(Message* msg) {
  return ForwardSystemKeyToOwner(owner_, msg->message) || Dialog::PreTranslateMessage(msg);
}

LRESULT CVersionInfoDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCmdVersionClose) {
        RequestClose();
        return 0;
      }
      return Dialog::WindowProc(message, wParam, lParam);
    default:
      return Dialog::WindowProc(message, wParam, lParam);
  }
}

void CVersionInfoDlg::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  DeviceContext& dc = paint.dc();
  const Rect client = ClientRect();
  dc.FillSolid(client, RGB(0x0C, 0x0C, 0x0C));
  DrawResourcePicture(dc, 0, 0, client.Width(), kTitleBandHeight, ProcessResources(), kTitleBandPicture);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  dc.SelectFont(ViewerFont(30));
  dc.DrawText(title_, Rect{0, 0, client.right, kTitleBandHeight},
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  dc.SelectFont(ViewerFont(22));
  int top = kRowTop;
  for (const WideText& row : rows_) {
    if (top >= client.bottom - kSoftKeyBarHeight) break;
    dc.DrawText(row, Rect{10, top, 470, top + kRowHeight}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    top += kRowHeight;
  }
}

void OpenVersionDialog(std::unique_ptr<CVersionInfoDlg>& dialog, Window* owner) {
  if (dialog && dialog->IsAlive()) {
    dialog->Show(SW_SHOW);
    return;
  }
  dialog = std::make_unique<CVersionInfoDlg>(VersionInfoPath());
  if (!dialog->Open(owner)) dialog.reset();
}

void CloseVersionDialog(std::unique_ptr<CVersionInfoDlg>& dialog) {
  if (!dialog) return;
  if (dialog->IsAlive()) dialog->Destroy();
  dialog.reset();
}

}  // namespace brantel
