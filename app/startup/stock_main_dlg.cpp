#include "app/startup/stock_main_dlg.h"

#include "app/common/screen_layout.h"
#include "app/dialogs/msg_box_dlg.h"
#include "app/dialogs/numbered_message.h"
#include "app/market/market_info_dlg.h"
#include "app/mypage/mypage_dlg.h"
#include "app/search/search_dlg.h"
#include "app/server_selection.h"
#include "app/startup/self_upgrade.h"
#include "app/startup/startup_checks.h"
#include "cache/cache_connection.h"
#include "cache/cache_tables.h"
#include "cache/master_request.h"
#include "controls/viewer_fonts.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/categories.h"
#include "protocol/device_identity.h"
#include "protocol/last_update.h"

namespace brantel {

namespace {

constexpr uint32_t kWindowIconPicture = 110;
constexpr char16_t kInstallBrokenText[] = u"프로그램이 올바르게 설치되지 않았습니다. \r\n재설치해주세요.";
// No numbered message covers a cache file that cannot be opened.
constexpr char16_t kCacheUnavailableText[] = u"저장된 정보를 열 수 없어 \r\n마이페이지 목록을 보여드릴 수 없습니다.";
// The close command of the title-bar button: identifier 2, notification 0x1000.
constexpr WPARAM kTitleBarClose = 0x10000002;

struct TabSpec {
  int id;
  int left;
  const char16_t* caption;
  uint32_t normal_icon;
  uint32_t selected_icon;
};
constexpr TabSpec kTabs[] = {
    {kTabMyPage, 20, u"마이페이지", 1011, 1012},
    {kTabMarket, 175, u"시장정보", 1016, 1015},
    {kTabSearch, 330, u"종목검색", 1013, 1014},
};
constexpr int kTabCellWidth = 130;
const Rect kTabIconBox{32, 0, 98, 66};
const Rect kTabCaptionBox{0, 66, 130, 88};

}  // namespace

CStockMainDlg::CStockMainDlg(WideView command_line) : command_line_(command_line) {
  SetClassName(kViewerWindowClass);
  SetInitialText(kViewerTitle);
}

CStockMainDlg::~CStockMainDlg() {
  if (IsAlive()) Destroy();
}

bool CStockMainDlg::OnInitDialog() {
  CBaseScreenDlg::OnInitDialog();
  // The request routines ask this window for the data connection.
  SetMainWindow(hwnd());
  return Initialize();
}

bool CStockMainDlg::Initialize() {
  ResourceLibraryRef library = ProcessResources();
  // 1. Icon, title, title-bar button.
  if (library) {
    if (auto icon = library->DecodedPicture(kPictureTypeGif, kWindowIconPicture)) SetDisplayIcon(*icon);
  }
  SetText(kViewerTitle);
  SetTitleBarButton(hwnd(), TITLE_BUTTON_CLOSE);
  // 2. The resource library.
  if (!library) {
    CMsgBoxDlg box(kViewerTitle, kInstallBrokenText, kMessageStyleOk);
    box.DoModal(this);
    Quit();
    return false;
  }
  // 3. Portrait while the viewer runs; the user's setting comes back at the end.
  rotation_lock_.emplace();
  // 4. Servers.
  ServerSelection selection;
  ReadServerSelection(&selection);
  ApplyBuiltInDefaults(&selection);
  SetCurrentServerSelection(selection);
  if (selection.server_type != 0) SetText(DevelopmentTitle(selection, kViewerTitle));
  connection_url_ = u"http://" + selection.server_address + u"/";
  // 5. The loading dialog, painted at once.
  PumpPendingMessages();
  loading_ = std::make_unique<CLoadingDlg>(selection.server_type != 0);
  loading_->Open(this);
  PumpPendingMessages();
  // 6. The phone number for the request headers.
  WideText number;
  if (ReadPhoneNumber(number) == 0) SetDevicePhoneNumber(number);
  // 7. Sockets need no start-up here.
  // 8. The data connection.
  if (!CheckConnection()) {
    PumpPendingMessages();
    if (AskToConnect() == kMessageNo) {
      CloseLoading();
      Quit();
      return false;
    }
    PumpPendingMessages();
    connection_.Establish(connection_url_, 0);
  }
  if (!IsAlive()) return false;
  // 9. The cache tables.
  EnsureCacheTables();
  // 10. Screens and tab bar.
  BuildScreensAndTabBar();
  // 11. The master stamp.
  master_stamp_ = LastUpdateStamp(u"", kCategoryMaster, 0, true);
  // 12. The rest runs from the loop, so the loading dialog animates.
  SetTimer(kStartupTimer, kStartupTimerMs);
  return true;
}

void CStockMainDlg::Quit() { PostQuitMessage(0); }

bool CStockMainDlg::CheckConnection() {
  if (IsDeviceCradled()) return true;
  return connection_.TestConnection(connection_url_, 0);
}

void CStockMainDlg::EnsureConnection() {
  if (CheckConnection()) return;
  PumpPendingMessages();
  if (AskToConnect() != kMessageNo) connection_.Establish(connection_url_, 0);
}

intptr_t CStockMainDlg::AskToConnect() {
  // The loading dialog stays above everything else; the question must not
  // open unseen behind it.
  const bool lower_loading = loading_ && loading_->IsAlive() && loading_->top_most();
  if (lower_loading) loading_->SetTopMost(false);
  const intptr_t answer = ShowNumberedMessage(this, kMessageNoConnection, kMessageStyleYesNo);
  if (lower_loading && loading_ && loading_->IsAlive()) loading_->SetTopMost(true);
  return answer;
}

void CStockMainDlg::BuildScreensAndTabBar() {
  const Rect client = ClientRect();
  const Rect screen_rect = ScreenRectBelowTabBar(client);
  mypage_ = std::make_unique<CMyPageDlg>(this);
  market_ = std::make_unique<CMarketInfoDlg>(this);
  search_ = std::make_unique<CSearchDlg>(this);
  mypage_->Create(screen_rect);
  market_->Create(screen_rect);
  search_->Create(screen_rect);

  tab_bar_.Create(Rect{0, 0, client.Width(), kMainTabBarHeight}, this, ProcessResources(), kTabBarId);
  tab_bar_.SetBackground(1010);
  tab_bar_.SetHighlight(1009);
  tab_bar_.SetFont(ViewerFont(18));
  tab_bar_.SetTextColors(kTabTextColor, kTabSelectedTextColor);
  tab_bar_.SetTextFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  for (const TabSpec& tab : kTabs)
    tab_bar_.AddTab(tab.id, Rect{tab.left, 0, tab.left + kTabCellWidth, kMainTabBarHeight}, kTabIconBox, kTabCaptionBox,
                    tab.caption, tab.normal_icon, tab.selected_icon);
  for (CBaseScreenDlg* s : {static_cast<CBaseScreenDlg*>(mypage_.get()), static_cast<CBaseScreenDlg*>(market_.get()),
                            static_cast<CBaseScreenDlg*>(search_.get())})
    s->Move(screen_rect);
  tab_bar_.Invalidate();
}

void CStockMainDlg::OnFirstTick() {
  KillTimer(kStartupTimer);
  const HWND self = hwnd();
  const bool refreshed = RefreshMasterFromServer(master_stamp_, self);
  // Closed or asked to end while the request ran: nothing more to start.
  if (!IsWindow(self) || ending_) return;
  if (!refreshed) {
    CloseLoading();
    ShowNumberedMessage(this, kMessageMasterFailed, kMessageStyleOk);
    if (IsWindow(self)) Post(WM_DESTROY);
    return;
  }
  ShowScreen(kScreenMyPage);
  CloseLoading();
  // An empty MyPage must not pass for an empty watch list.
  if (CacheCannotBeOpened() && IsAlive()) CMsgBoxDlg(kViewerTitle, kCacheUnavailableText, kMessageStyleOk).DoModal(this);
  if (ShouldShowHelp() && IsAlive()) {
    help_ = std::make_unique<CHelpDlg>();
    help_->Open(this);
  }
  RunSelfUpgradeHandOver();
  StartUpdater(command_line_, CurrentServerSelection());
}

void CStockMainDlg::CloseLoading() {
  if (loading_) loading_->Close();
  loading_.reset();
}

void CStockMainDlg::ShowScreen(int code) {
  if (current_ && current_->IsAlive()) {
    current_->OnShownState(kScreenHidden);
    current_->Show(SW_HIDE);
  }
  switch (code) {
    case kScreenMyPage: current_ = mypage_.get(); break;
    case kScreenMarket: current_ = market_.get(); break;
    case kScreenSearch: current_ = search_.get(); break;
    default: current_ = nullptr; break;
  }
  if (!current_) return;
  current_->OnShownState(kScreenShown);
  current_->Show(SW_SHOW);
  // The tab bar shows the screen chosen, however it was chosen.
  tab_bar_.SetSelectedIndex(code == kScreenMyPage ? 0 : code == kScreenMarket ? 1 : 2);
}

void CStockMainDlg::PostBackToScreen(WPARAM from_system_key) {
  if (current_ && current_->IsAlive()) current_->Post(WM_SCREEN_BACK, from_system_key, 0);
}

void CStockMainDlg::OnCloseRequest() {
  if (current_ && current_->IsAlive()) {
    PostBackToScreen(0);
    return;
  }
  EndViewer();
}

void CStockMainDlg::EndViewer() {
  ending_ = true;
  PostMessage(hwnd(), WM_CANCEL_NETWORK, 0, 0);
  if (IsModal())
    EndDialog(IDCANCEL);
  else
    Destroy();
}

bool CStockMainDlg::PreTranslateMessage(Message* msg) {
  switch (msg->message) {
    case WM_CLOSE_REQUEST:
      // No screen yet (start-up, its master request may wait on a silent
      // server): the close ends the viewer, and the request with it.
      if (!current_ || !current_->IsAlive()) {
        EndViewer();
        return true;
      }
      PostBackToScreen(1);
      return false;
    case WM_END_KEY:
    case WM_TALK_KEY:
      PostBackToScreen(1);
      return false;
    case WM_BACK_KEY:
      if (current_ && current_->IsAlive()) {
        PostBackToScreen(0);
        return true;
      }
      // Still starting (the loading dialog shows, its request may wait on a
      // slow server): the back key ends the viewer, as the close button does.
      EndViewer();
      return true;
    default:
      return CBaseScreenDlg::PreTranslateMessage(msg);
  }
}

LRESULT CStockMainDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kStartupTimer) {
        OnFirstTick();
        return 0;
      }
      break;
    case WM_APP_EXIT:
      EndViewer();
      return 0;
    case WM_ENSURE_CONNECTION:
      EnsureConnection();
      return 0;
    case kMainDialogQuery:
      return 1;
    case WM_HELP_CLOSED:
      if (help_ && help_->IsAlive()) help_->Destroy();
      help_.reset();
      return 0;
    case WM_TAB_SELECTED:
      switch (lParam) {
        case kTabMyPage: ShowScreen(kScreenMyPage); break;
        case kTabMarket: ShowScreen(kScreenMarket); break;
        case kTabSearch: ShowScreen(kScreenSearch); break;
        default: break;
      }
      return 0;
    case WM_CLOSE:
      OnCloseRequest();
      return 0;
    case WM_COMMAND:
      if (wParam == kTitleBarClose && current_ && current_->IsAlive()) {
        PostBackToScreen(0);
        return 0;
      }
      break;
    case WM_DESTROY:
      // Posted by a screen or after a failed start-up: end the modal loop,
      // whose destruction of the window comes back here for real.
      if (!IsBeingDestroyed()) {
        EndViewer();
        return 0;
      }
      TearDown();
      return 0;
    default:
      break;
  }
  return CBaseScreenDlg::WindowProc(message, wParam, lParam);
}

void CStockMainDlg::TearDown() {
  if (torn_down_) return;
  torn_down_ = true;
  PostMessage(hwnd(), WM_CANCEL_NETWORK, 0, 0);
  if (help_ && help_->IsAlive()) help_->Destroy();
  help_.reset();
  rotation_lock_.reset();
  connection_.Release();
  CloseLoading();
  KillTimer(kStartupTimer);
  current_ = nullptr;
  for (auto* screen : {static_cast<Window*>(mypage_.get()), static_cast<Window*>(market_.get()),
                       static_cast<Window*>(search_.get())})
    if (screen && screen->IsAlive()) screen->Destroy();
  mypage_.reset();
  market_.reset();
  search_.reset();
  if (GetMainWindow() == hwnd()) SetMainWindow(0);
}

}  // namespace brantel
