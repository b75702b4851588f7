#include "app/dialogs/loading_dlg.h"

#include "app/common/dimmed_screen.h"
#include "app/common/screen_layout.h"
#include "app/dialogs/numbered_message.h"
#include "app/rotation.h"
#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"
#include "platform/module_info.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/present.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"

namespace brantel {
namespace {

constexpr uint8_t kDimAlpha = 191;
constexpr uint32_t kPanelPicture = 1078;
constexpr uint32_t kFirstFramePicture = 1081;
constexpr COLORREF kCaptionGrey = 0xAFAFAF;
constexpr COLORREF kRed = 0x0000FF;
constexpr Rect kCaptionRect{199, 418, 330, 448};
constexpr Rect kDevelopmentRect{60, 173, 360, 223};
constexpr int kVersionDrop = 60;

const Font& DevelopmentFont() {
  static const Font font(kGothicFace, 48, FW_BOLD);
  return font;
}

}  // namespace

WideText LoadingCaption(int frame) {
  WideText text = u"로딩중";
  text.append(size_t(((frame % 4) + 4) % 4), u'.');
  return text;
}

void DrawLoadingFrame(DeviceContext& dc, const LoadingFrameArt& art, int frame) {
  const Rect panel = kLoadingPanelRect;
  if (art.dimmed) PaintDimmedScreen(dc, *art.dimmed, art.client_screen_origin, panel);
  DrawResourcePicture(dc, panel.left, panel.top, panel.Width(), panel.Height(), art.library, kPanelPicture);
  DrawResourcePicture(dc, 215, 360, 50, 50, art.library, kFirstFramePicture + uint32_t(frame % kLoadingFrames));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(kCaptionGrey);
  dc.SelectFont(ViewerFont(24));
  dc.DrawText(LoadingCaption(frame), kCaptionRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (art.development_server) {
    dc.SetTextColor(kRed);
    dc.SelectFont(DevelopmentFont());
    dc.DrawText(u"개발서버", kDevelopmentRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.DrawText(u"버전:" + art.version, kDevelopmentRect.Offset(0, kVersionDrop),
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

CLoadingDlg::CLoadingDlg(bool development_server) {
  art_.development_server = development_server;
  art_.version = GetFileVersionText();
  SetInitialText(kMessageCaption);
}

CLoadingDlg::~CLoadingDlg() { thread_.Stop(0xFFFFFFFF); }

bool CLoadingDlg::Open(Window* owner) {
  ForcePortrait();
  ShowInputPanelButton(false);
  SetInputPanel(false);
  SetInitialRect(PortraitDialogRect());
  if (!CreateModeless(owner ? owner->TopLevel() : nullptr)) return false;
  SetTopMost(true);
  SetForegroundWindow(hwnd());
  return true;
}

bool CLoadingDlg::OnInitDialog() {
  dimmed_ = CaptureDimmedScreen(kDimAlpha, hwnd());
  art_.dimmed = &dimmed_;
  art_.client_screen_origin = ClientToScreen(Point{0, 0});
  art_.library = ProcessResources();
  thread_.Start([this](WorkerThread& thread) { Animate(thread); });
  return true;
}

void CLoadingDlg::Animate(WorkerThread& thread) {
  const HWND self = hwnd();
  while (!thread.StopRequested()) {
    const int frame = (frame_.load() + 1) % kLoadingFrames;
    frame_.store(frame);
    DrawAndPresent(self, kLoadingPanelRect, [&](DeviceContext& dc) { DrawLoadingFrame(dc, art_, frame); });
    if (!thread.SleepFor(kLoadingStepMs)) break;
  }
}

void CLoadingDlg::Close() {
  thread_.Stop(0xFFFFFFFF);
  Destroy();
}

LRESULT CLoadingDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      if (!paint.visible()) return 0;
      PaintDimmedScreen(paint.dc(), dimmed_, art_.client_screen_origin, ClientRect());
      DrawLoadingFrame(paint.dc(), art_, frame_.load());
      return 0;
    }
    case WM_BACK_KEY:
      // The back key while the viewer starts ends it, as the close button
      // does: a start-up waiting on a slow server must not hold the user.
      if (Window* o = owner()) PostMessage(o->hwnd(), WM_CLOSE_REQUEST, 0, 0);
      return 0;
    case WM_DESTROY:
      thread_.Stop(0xFFFFFFFF);
      return Dialog::WindowProc(message, wParam, lParam);
    default:
      return Dialog::WindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
