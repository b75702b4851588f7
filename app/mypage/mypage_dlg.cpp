#include "app/mypage/mypage_dlg.h"

#include "app/common/market_list_row.h"
#include "app/common/quote_list_style.h"
#include "app/common/quote_row_identity.h"
#include "app/common/viewer_exit.h"
#include "app/detail/detail_opener.h"
#include "app/dialogs/numbered_message.h"
#include "app/mypage/mypage_edit_dlg.h"
#include "app/mypage/mypage_rows.h"
#include "cache/cache_connection.h"
#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/categories.h"
#include "protocol/last_update.h"
#include "protocol/market_requests.h"

namespace brantel {

namespace {

constexpr COLORREF kBackground = 0x000000;

Rect EmptyHintRect(const ScreenLayout& layout) {
  return Rect{0, kMyPageEmptyHintTop, layout.list.right, kMyPageEmptyHintTop + kEmptyListHintHeight};
}

}  // namespace

CMyPageDlg::CMyPageDlg(Window* main_dialog) : main_dialog_(main_dialog) { SetClassName(u"CMyPageDlg"); }

CMyPageDlg::~CMyPageDlg() { TearDown(); }

bool CMyPageDlg::Create(const Rect& rect) {
  SetInitialText(u"MyPage Dialog");
  return CreateChild(main_dialog_, rect, kMyPageTemplate);
}

bool CMyPageDlg::OnInitDialog() {
  CBaseScreenDlg::OnInitDialog();
  SetTitleBarButton(hwnd(), TITLE_BUTTON_HIDDEN);
  const ScreenLayout layout = LayOutScreen(ClientRect());
  list_.Create(layout.list, this, ProcessResources(), kMyPageListId);
  StyleQuoteList(list_.body());
  empty_hint_.Create(this, EmptyHintRect(layout), kMyPageEmptyHint);
  update_bar_.Create(layout.update_bar, this, intptr_t(hwnd()), kUpdateBarChildId);
  if (menu_bar_.Create(layout.menu_bar, this)) menu_bar_.ShowMenu(kMyPageMenu, false);
  return true;
}

void CMyPageDlg::Layout() {
  const ScreenLayout layout = LayOutScreen(ClientRect());
  if (list_.IsAlive()) list_.Move(layout.list);
  if (empty_hint_.IsAlive()) empty_hint_.Move(EmptyHintRect(layout));
  if (update_bar_.IsAlive()) update_bar_.Move(layout.update_bar);
  if (menu_bar_.IsAlive()) menu_bar_.Move(layout.menu_bar);
}

void CMyPageDlg::OnShownState(int show_state) {
  if (editor_ && editor_->IsAlive()) editor_->Show(show_state == kScreenShown ? SW_SHOW : SW_HIDE);
  if (menu_bar_.IsAlive()) menu_bar_.ShowMenu(kMyPageMenu, false);
  if (show_state == kScreenShown && !guard_.running()) SetTimer(kMyPageReloadTimer, kMyPageTimerMs);
}

void CMyPageDlg::SetLastUpdate(WideView stamp) {
  last_update_ = WideText(stamp);
  if (update_bar_.IsAlive()) update_bar_.SetLastUpdate(last_update_);
}

void CMyPageDlg::ReloadFromCache() {
  std::vector<StockRecord> records;
  WideText row_stamp;
  LoadMyPage(records, row_stamp);
  SetLastUpdate(LastUpdateStamp(u"", kCategoryMyPage, 0, true));
  Fill(records, true);
}

void CMyPageDlg::Fill(const std::vector<StockRecord>& records, bool empty_clears) {
  if (!list_.IsAlive() || (records.empty() && !empty_clears)) return;
  CMobileListCtrl& body = list_.body();
  const int width = body.ClientRect().Width();
  body.RemoveAllRows();
  for (const MarketRow& row : PlanMyPageRows(records)) body.AddRow(-1, ToMobileListRow(row, width));
  body.RecomputeLayout();
  body.Invalidate();
  ShowEmptyHint();
}

void CMyPageDlg::ShowEmptyHint() {
  // A cache that cannot be opened is no empty watch list: the start-up's box
  // says so, and the hint would tell the user to add what may still be there.
  const bool empty = list_.body().RowCount() == 0 && !CacheCannotBeOpened();
  if (empty_hint_.IsAlive()) empty_hint_.Show(empty ? SW_SHOW : SW_HIDE);
}

void CMyPageDlg::NetworkRefresh() {
  if (guard_.running() || !list_.IsAlive()) return;
  std::vector<WideText> entries;
  CMobileListCtrl& body = list_.body();
  for (int i = 0; i < body.RowCount(); ++i) {
    WideText key;
    bool section = false;
    if (body.GetRowText(i, &key, &section) == 0 && !section && !key.empty()) entries.push_back(std::move(key));
  }
  if (entries.empty()) return;  // an empty watch list is never requested

  RequestGuard::Running running(guard_);
  update_bar_.Post(WM_LIST_UPDATE_BEGIN, 0, 0);
  std::vector<StockRecord> rows;
  WideText server_date;
  const int32_t ok = FetchMyPageList(entries, last_update_, hwnd(), &rows, server_date);
  if (running.screen_gone()) return;  // the screen went while the request ran
  if (ok == 1) {
    Fill(rows, false);
    SetLastUpdate(LastUpdateStamp(server_date, kCategoryMyPage, 0, false));
    store_.Start(rows, last_update_);
    running.End();
    update_bar_.Post(WM_LIST_UPDATE_END, 0, 1);
    if (guard_.exit_asked()) ExitViewer();
    return;
  }
  update_bar_.Post(WM_LIST_UPDATE_END, 0, 1);
  running.End();
  // An exit waiting on this refresh cancelled it: no failure message over
  // the exit, which goes on now instead of at the next retry.
  if (guard_.exit_asked()) {
    ExitViewer();
    return;
  }
  ShowNumberedMessage(this, kMessageRefreshFailed, 0);
}

void CMyPageDlg::OnRowTap(int row) {
  if (!list_.IsAlive()) return;
  const std::optional<RowKey> key = QuoteRowKey(list_.body(), row);
  if (!key || (key->category != kCategoryStock && key->category != kCategoryIndex)) return;

  StockDetailRecord record;
  WideText cached_stamp;
  CachedDetailRecord(*key, record, cached_stamp);
  CloseDetail();
  detail_ = OpenStockDetail(*this, record, key->in_mypage(), cached_stamp);
}

void CMyPageDlg::CloseDetail() {
  if (!detail_) return;
  const DetailResult result = CloseStockDetail(detail_);
  // An entry the user took off the watch list in the detail leaves the list.
  if (result.changed && !result.in_mypage && IsAlive() && !torn_down_) SetTimer(kMyPageReloadTimer, kMyPageTimerMs);
}

void CMyPageDlg::OpenEditor() {
  if (editor_ && editor_->IsAlive()) {
    editor_->Show(SW_SHOW);
    return;
  }
  editor_ = std::make_unique<CMyPageEditDlg>();
  if (!editor_->Open(this, LastUpdateStamp(u"", kCategoryMyPage, 0, true))) editor_.reset();
}

void CMyPageDlg::CloseEditor(bool saved) {
  if (saved) SetTimer(kMyPageReloadTimer, kMyPageTimerMs);
  if (!editor_) return;
  if (editor_->IsAlive()) editor_->Destroy();
  editor_.reset();
}

void CMyPageDlg::OpenVersion() { OpenVersionDialog(version_, this); }

void CMyPageDlg::CloseVersion() { CloseVersionDialog(version_); }

void CMyPageDlg::OnBack(WPARAM from_system_key) {
  if (from_system_key == 0 && (editor_ || version_ || detail_)) {
    CloseEditor(false);
    CloseVersion();
    CloseDetail();
    return;
  }
  ExitViewer();
}

void CMyPageDlg::ExitViewer() {
  KillTimer(kMyPageExitTimer);
  if (!guard_.MayExitNow()) {
    // The refresh's exchange pumps this thread's messages and ends when it
    // meets the cancel, so a silent server cannot hold the exit.
    PostMessage(hwnd(), WM_CANCEL_NETWORK, 0, 0);
    SetTimer(kMyPageExitTimer, kMyPageExitRetryMs);
    return;
  }
  if (main_dialog_ && main_dialog_->IsAlive()) PostViewerExit(main_dialog_->hwnd());
}

void CMyPageDlg::OnCommand(uint32_t command) {
  switch (command) {
    case kCmdMyPageEdit: OpenEditor(); break;
    case kCmdExit: ExitViewer(); break;
    case kCmdVersion: OpenVersion(); break;
    case kCmdRefresh:
      if (!guard_.running()) SetTimer(kMyPageNetworkTimer, kMyPageTimerMs);
      break;
    case kCmdClose: CloseDetail(); break;
    default: break;
  }
}

LRESULT CMyPageDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      paint.dc().FillSolid(ClientRect(), kBackground);
      return 0;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_TIMER:
      if (wParam == kMyPageReloadTimer) {
        KillTimer(kMyPageReloadTimer);
        ReloadFromCache();
        if (!guard_.running()) SetTimer(kMyPageNetworkTimer, kMyPageTimerMs);
      } else if (wParam == kMyPageNetworkTimer) {
        KillTimer(kMyPageNetworkTimer);
        NetworkRefresh();
      } else if (wParam == kMyPageExitTimer) {
        ExitViewer();
      }
      return 0;
    case WM_MOBILELIST_CLICK:
      OnRowTap(int(lParam));
      return 0;
    case WM_MYPAGE_EDIT_CLOSED:
      CloseEditor(wParam == 1);
      return 0;
    case WM_SCREEN_BACK:
      OnBack(wParam);
      return 0;
    case WM_DETAIL_CLOSED:
      CloseDetail();
      return 0;
    case WM_VERSION_CLOSED:
      CloseVersion();
      return 0;
    case WM_CEBUTTON_CLICKED:
      if (int(wParam) == kMyPageEditButton) OpenEditor();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      CBaseScreenDlg::WindowProc(message, wParam, lParam);
      TearDown();
      return 0;
    default:
      return CBaseScreenDlg::WindowProc(message, wParam, lParam);
  }
}

void CMyPageDlg::TearDown() {
  if (torn_down_) return;
  torn_down_ = true;
  guard_.Retire();
  KillTimer(kMyPageReloadTimer);
  KillTimer(kMyPageNetworkTimer);
  KillTimer(kMyPageExitTimer);
  store_.Cancel(kMyPageStoreWaitMs);
  CloseDetail();
  if (list_.IsAlive()) list_.Destroy();
  CloseEditor(false);
  CloseVersion();
  if (menu_bar_.IsAlive()) menu_bar_.Destroy();
  if (update_bar_.IsAlive()) update_bar_.Destroy();
}

}  // namespace brantel
