#include "app/detail/stock_detail_dlg.h"

#include "app/common/screen_layout.h"
#include "app/detail/detail_frame_painting.h"
#include "app/detail/detail_rules.h"
#include "app/dialogs/numbered_message.h"
#include "app/dialogs/version_text.h"
#include "platform/gfx/picture.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"

namespace brantel {

namespace {

constexpr int kTitleBandHeight = 75;
constexpr int kPanelBottom = 656;
constexpr int kRequestDelayMs = 100;

Size SizeOf(const Rect& r) { return Size{r.Width(), r.Height()}; }

Surface LoadChart(const std::string& path) {
  if (path.empty()) return Surface();
  std::optional<Surface> picture = LoadPictureFile(path);
  return picture ? std::move(*picture) : Surface();
}

}  // namespace

CMStockDetailDlg::CMStockDetailDlg(ResourceLibraryRef library, Window* owner)
    : library_(std::move(library)), owner_(owner) {
  SetClassName(u"CMStockDetailDlg");
  SetInitialText(u"증권정보 NUV");
}

CMStockDetailDlg::~CMStockDetailDlg() { TearDown(); }

void CMStockDetailDlg::SetRecord(const StockDetailRecord& record, bool in_mypage) {
  view_.record = record;
  view_.in_mypage = in_mypage;
}

bool CMStockDetailDlg::Open() {
  SetInitialRect(PortraitDialogRect());
  return CreateModeless(owner_);
}

bool CMStockDetailDlg::OnInitDialog() {
  // Without an owner of its own, the window that owns the dialog is it.
  owner_hwnd_ = owner_ ? owner_->hwnd() : owner() ? owner()->hwnd() : 0;
  MakeFullScreenDialog(hwnd());
  ShowInputPanelButton(false);
  const Rect portrait = PortraitDialogRect();
  menu_bar_.Create(LayOutScreen(portrait.Width(), portrait.Height()).menu_bar, this, kMenuBarChildId);
  menu_bar_.ShowMenu(kDetailMenu, false);
  panel_.Create(Rect{0, kTitleBandHeight, portrait.Width(), kPanelBottom}, this, library_);
  Move(portrait);
  SetTopMost(true);

  rotation_ = std::make_unique<DetailRotation>(hwnd());
  if (IsInputPanelUp()) SetInputPanel(false);
  spinner_.Start(hwnd(), library_);
  spinner_.MoveTo(SpinnerPosition(SizeOf(ClientRect()), false));

  panel_.SetContent(&view_.record, &view_.daily, &view_.full_quote);
  panel_.Layout();
  SetTimer(kDetailRequestTimer, kRequestDelayMs);
  return true;
}

void CMStockDetailDlg::RunDetailRequest() {
  KillTimer(kDetailRequestTimer);
  if (!CanRequestDetail(view_.record)) return;
  if (guard_.running()) {
    // One request at a time; the newer choice runs when this one ends.
    guard_.AskAgain();
    return;
  }
  // What shows stays until an answer replaces it: a failed request leaves
  // the screen as it was.
  spinner_.Run();

  // The request pumps messages: the dialog may be closed and destroyed
  // before it returns, so it works on copies.
  const StockDetailRecord asked = view_.record;
  DetailAnswer answer;
  RequestGuard::Running running(guard_);
  const int32_t result = FetchDetail(asked.code, asked.gubun, asked.item, view_.period, hwnd(), answer);
  if (running.screen_gone()) {
    DeleteAttachedFiles(answer.attachments);
    return;
  }
  running.End();
  const bool shown = result == 1 && IsShowableDetailAnswer(answer);
  if (shown)
    ReceiveAnswer(answer);
  else
    DeleteAttachedFiles(answer.attachments);
  spinner_.Pause();
  Invalidate();
  // A close cancelled the request: no failure message over the closing.
  if (!shown && !close_posted_) ShowNumberedMessage(this, kMessageRefreshFailed, 0);
  if (guard_.TakeAgain()) SetTimer(kDetailRequestTimer, kRequestDelayMs);
}

void CMStockDetailDlg::ReceiveAnswer(const DetailAnswer& answer) {
  ApplyDetailAnswer(view_, answer);
  charts_.Take(answer.attachments);
  panel_.SetSmallChart(LoadChart(charts_.small_chart()));
  large_chart_ = LoadChart(charts_.large_chart());
  panel_.Layout();
  Invalidate();
}

void CMStockDetailDlg::RequestClose() {
  // A request of ours on the stack ends first: the cancel is queued before
  // the owner's WM_DETAIL_CLOSED, and the request's pump takes it.
  if (close_posted_) return;  // a second close before the owner acted
  close_posted_ = true;
  if (!guard_.MayExitNow()) PostThreadMessage(GetCurrentThreadId(), WM_CANCEL_NETWORK, 0, 0);
  PostMessage(owner_hwnd_, WM_DETAIL_CLOSED, 0, LPARAM(hwnd()));
}

void CMStockDetailDlg::OnCommand(uint32_t command) {
  switch (command) {
    case kCmdTitleClose:
    case kCmdClose:
      RequestClose();
      break;
    case kCmdExit:
      PostMessage(owner_hwnd_, WM_COMMAND, kCmdExit, 0);
      break;
    case kCmdVersion:
      CloseVersionDialog(version_);
      version_ = std::make_unique<CVersionInfoDlg>(VersionInfoPath());
      if (!version_->Open(this)) version_.reset();
      break;
    case kCmdRefresh:
      view_.period = 0;
      SetTimer(kDetailRequestTimer, kRequestDelayMs);
      break;
    case kCmdLandscape:
      SwitchOrientation(90);
      break;
  }
}

void CMStockDetailDlg::SwitchOrientation(uint32_t angle) {
  ClosePeriodMenu();
  view_.landscape = RotateDisplay(angle);
  LayoutForOrientation();
}

void CMStockDetailDlg::LayoutForOrientation() {
  if (!IsAlive() || torn_down_) return;  // the turn back to portrait while going
  const Size screen = GetScreenSize();
  view_.pressed_button = kNoButton;
  if (view_.landscape) {
    panel_.Show(false);
    menu_bar_.Show(false);
    ShowSystemBar(false);
    Move(Rect{0, 0, screen.cx, screen.cy});
  } else {
    ShowSystemBar(true);
    Move(PortraitDialogRect());
    panel_.Show(true);
    menu_bar_.Show(true);
  }
  spinner_.MoveTo(SpinnerPosition(SizeOf(ClientRect()), view_.landscape));
  Invalidate();
}

void CMStockDetailDlg::ClosePeriodMenu() {
  if (!period_menu_) return;
  period_menu_->Destroy();
  period_menu_.reset();
  Invalidate();
}

void CMStockDetailDlg::OpenPeriodMenu() {
  ClosePeriodMenu();
  period_menu_ = std::make_unique<CGraphMenuDlg>();
  const Rect button = LandscapeButtonRect(kPeriodMenuButton);
  if (!period_menu_->Create(this, library_, button.left - 10, LandscapeButtonRect(kRefreshButton).top))
    period_menu_.reset();
}

void CMStockDetailDlg::OnPress(Point p) {
  if (view_.landscape) {
    LandscapePress(view_, p);
    Invalidate();
  } else {
    StarPress(view_, p);
  }
}

void CMStockDetailDlg::OnRelease(Point p) {
  if (view_.landscape) {
    const int button = LandscapeRelease(view_, p);
    Invalidate();
    if (button == kRefreshButton) SetTimer(kDetailRequestTimer, kRequestDelayMs);
    if (button == kPeriodMenuButton) OpenPeriodMenu();
    return;
  }
  if (!StarRelease(view_, p)) return;
  const RequestGuard::Watch watch(guard_);
  const StarOutcome outcome = ToggleMyPage(view_);
  Invalidate();
  if (outcome == StarOutcome::kFull) ShowNumberedMessage(this, kMessageMyPageFull, 0);
  if (!watch.screen_gone()) Invalidate();
}

void CMStockDetailDlg::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  const Rect client = ClientRect();
  Surface buffer(client.Width(), client.Height());
  DeviceContext dc(buffer);
  if (view_.landscape)
    PaintLandscapeFrame(dc, SizeOf(client), view_, large_chart_, library_);
  else
    PaintPortraitFrame(dc, SizeOf(client), view_, library_);
  if (spinner_.running()) spinner_.PaintCurrent(dc);
  paint.dc().BitBlt(0, 0, client.Width(), client.Height(), buffer, 0, 0);
}

void CMStockDetailDlg::TearDown() {
  if (torn_down_) return;
  torn_down_ = true;
  if (guard_.Retire()) PostThreadMessage(GetCurrentThreadId(), WM_CANCEL_NETWORK, 0, 0);
  ShowSystemBar(true);
  CloseVersionDialog(version_);
  ClosePeriodMenu();
  charts_.DeleteAll();
  rotation_.reset();  // the saved auto-orientation, the watch, portrait
  menu_bar_.Destroy();
  spinner_.Stop();
}

LRESULT CMStockDetailDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
      if (wParam == kDetailRequestTimer) {
        RunDetailRequest();
        return 0;
      }
      break;
    case WM_COMMAND:
      if (wParam == kCmdTitleClose || LOWORD(wParam) >= kCmdExit) {
        OnCommand(uint32_t(wParam == kCmdTitleClose ? wParam : LOWORD(wParam)));
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      OnPress(p);
      return 0;
    case WM_LBUTTONUP:
      OnRelease(p);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        if (lParam == 0 && view_.landscape) view_.landscape = RotateDisplay(0);
        LayoutForOrientation();
      }
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SETTINGCHANGE_RESET) LayoutForOrientation();
      break;
    case WM_DESTROY:
      TearDown();
      break;
    // The system keys go to the active window, which is the detail while it
    // is open: back closes it, end, talk and the close request end the viewer.
    case WM_BACK_KEY:
      RequestClose();
      return 0;
    case WM_END_KEY:
    case WM_TALK_KEY:
    case WM_CLOSE_REQUEST:
      OnCommand(kCmdExit);
      return 0;
    default:
      if (message == WM_ROTATION_CHANGED && lParam == kRotationChangedTag) {
        SwitchOrientation(uint32_t(wParam));
        return 0;
      }
      if (message == WM_VERSION_CLOSED) {
        CloseVersionDialog(version_);
        return 0;
      }
      // The back key on the version dialog it owns: that dialog goes first.
      if (message == WM_SCREEN_BACK) {
        if (version_)
          CloseVersionDialog(version_);
        else
          RequestClose();
        return 0;
      }
      if (message == WM_SHOW_LANDSCAPE) {
        OnCommand(kCmdLandscape);
        return 0;
      }
      if (message == WM_PERIOD_CHOSEN) {
        ClosePeriodMenu();
        const int period = PeriodOfItem(int(wParam));
        if (period >= 0) {
          view_.period = period;
          SetTimer(kDetailRequestTimer, kRequestDelayMs);
        }
        return 0;
      }
      break;
  }
  return Dialog::WindowProc(message, wParam, lParam);
}

}  // namespace brantel
