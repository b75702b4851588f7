#include "app/market/base_market_info_wnd.h"

#include <algorithm>

#include "app/common/market_list_row.h"
#include "app/common/quote_row_identity.h"
#include "app/common/menu_commands.h"
#include "app/detail/detail_opener.h"
#include "app/dialogs/numbered_message.h"
#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "protocol/app_messages.h"
#include "protocol/last_update.h"

namespace brantel {

namespace {

constexpr uint32_t kListBackground = 0x0C0C0C;
constexpr int kRowBackgroundImage = 1022;
constexpr int kSelectionImage = 1023;
constexpr int kHeaderImage = 1018;

}  // namespace

CBaseMarketInfoWnd::CBaseMarketInfoWnd(const MarketSubScreen& screen)
    : screen_(screen), save_(screen.category) {}

CBaseMarketInfoWnd::~CBaseMarketInfoWnd() { save_.Cancel(kMarketSaveWaitMs); }

bool CBaseMarketInfoWnd::Create(Window* owner_dialog, const Rect& rect, ResourceLibraryRef library) {
  owner_ = owner_dialog;
  library_ = std::move(library);
  WindowParams params;
  params.class_name = u"CBaseMarketInfoWnd";
  params.text = screen_.window_name;
  params.style = 0;  // hidden until its sub-screen is chosen
  params.rect = rect;
  params.parent = owner_dialog;
  params.id = screen_.child_id;
  if (!Window::Create(params)) return false;
  if (!list_.Create(ClientRect(), this, library_, 1)) return false;
  last_update_ = LastUpdateText();
  BuildHeader();
  CMobileListCtrl& body = list_.body();
  body.SetDefaultRowHeight(kMarketRowHeight);
  body.SetBackgroundColor(kListBackground);
  body.SetRowBackgroundImage(kRowBackgroundImage);
  body.SetSelectionImage(kSelectionImage);
  body.SetThumbImages(1026, 1028, 1027);
  body.EnableScrollBar(true);
  return true;
}

void CBaseMarketInfoWnd::FitList() {
  if (!list_.IsAlive()) return;
  const Rect client = ClientRect();
  list_.Move(client);
  if (list_.has_header()) list_.head().Move(Rect{0, 0, client.right, kMarketHeaderHeight});
  const int top = list_.has_header() ? kMarketHeaderHeight : 0;
  list_.body().Resize(client.Width(), std::max(0, client.Height() - top));
  list_.body().Move(Rect{0, top, client.right, client.bottom});
}

void CBaseMarketInfoWnd::BuildHeader() {
  list_.AddHeader(kMarketHeaderHeight);
  for (const MarketHeaderColumn& c : MarketHeaderColumns(screen_.category))
    list_.AddHeaderColumn(c.id, c.width, c.caption, c.hit, c.format);
  list_.SetHeaderImages(kHeaderImage);
}

WideText CBaseMarketInfoWnd::LastUpdateText() const {
  return LastUpdateStamp(u"", screen_.category, CurrentSubKind(), true);
}

void CBaseMarketInfoWnd::RestartRefresh() {
  if (screen_.refresh_timer > 0) SetTimer(uintptr_t(screen_.refresh_timer), kMarketTimerDelayMs);
}

void CBaseMarketInfoWnd::NetworkRefresh() {
  if (guard_.running()) return;
  KillTimer(kMarketNetworkTimer);
  PostToOwner(WM_LIST_UPDATE_BEGIN, WPARAM(screen_.category), 0);
  SetTimer(kMarketNetworkTimer, kMarketTimerDelayMs);
}

void CBaseMarketInfoWnd::OnRefreshTimer() {
  KillTimer(uintptr_t(screen_.refresh_timer));
  PostToOwner(WM_LIST_UPDATE_BEGIN, WPARAM(screen_.category), 0);
  if (LoadedFromNetwork() == 0) {
    std::vector<StockRecord> cached;
    LoadCachedRows(cached);
    FillRows(cached);
  }
  NetworkRefresh();
}

void CBaseMarketInfoWnd::OnNetworkTimer() {
  KillTimer(kMarketNetworkTimer);
  if (guard_.running()) return;
  const RequestGuard::Running running(guard_);
  Fetch();
}

void CBaseMarketInfoWnd::LoadCachedRows(std::vector<StockRecord>& out) {
  LoadQuotesOfCategory(kQuoteTable, screen_.category, out);
}

void CBaseMarketInfoWnd::ReceiveRows(std::vector<StockRecord>&& rows) {
  if (rows.empty() || gone()) return;
  FillRows(rows);
  SaveRows(rows);
}

void CBaseMarketInfoWnd::FillRows(const std::vector<StockRecord>& records) {
  if (records.empty() || !list_.IsAlive()) return;
  const int width = list_.body().ClientRect().Width();
  MarketRowPlan plan = PlanMarketRows(records, {screen_.category, width, Caption(), CurrencyUnitText()});
  StarMyPageRows(plan, records, screen_.category);
  CMobileListCtrl& body = list_.body();
  body.Reset();
  for (const MarketRow& row : plan.rows) body.AddRow(-1, ToMobileListRow(row, width));
  body.RecomputeLayout();
  body.Invalidate();
}

void CBaseMarketInfoWnd::OnClick(int row, int cell) {
  if (row < 0) return;
  const std::optional<RowKey> key = QuoteRowKey(list_.body(), row);
  if (!key) return;  // a key that does not read back: ignored
  const MobileListRow* list_row = list_.body().rows().row(row);
  const int star = MarketStarCell(screen_.category);
  const bool on_star = list_row && cell >= 0 && size_t(cell) < list_row->cells.size() &&
                       list_row->cells[size_t(cell)].cell_id == star;
  if (on_star) {
    OnStarTap(row, *key);
    return;
  }
  OnRowTap(*key);
}

void CBaseMarketInfoWnd::OnStarTap(int row, const RowKey& key) {
  StockRecord record = key.Record();
  if (record.gubun <= 0) record.gubun = screen_.category;
  if (!key.in_mypage()) {
    const int result = AddMyPageItem(record, last_update_, false, true);
    if (result == MYPAGE_LIMIT) {
      ShowNumberedMessage(this, kMessageMyPageFull, 0);
      return;
    }
    if (result == CACHE_OK) SetQuoteRowStar(list_.body(), row, MarketStarCell(screen_.category), true);
    return;
  }
  RemoveMyPageItem(Narrow(record.code).c_str(), record.gubun);
  SetQuoteRowStar(list_.body(), row, MarketStarCell(screen_.category), false);
}

void CBaseMarketInfoWnd::OpenDetail(const RowKey& key) {
  if (detail_) return;  // one detail at a time
  // The full quote from the cache when there is one, else the row's fields;
  // the list's own stamp either way.
  StockDetailRecord record;
  WideText cached_stamp;
  CachedDetailRecord(key, record, cached_stamp);
  detail_ = OpenStockDetail(*this, record, key.in_mypage(), last_update_);
}

void CBaseMarketInfoWnd::CloseDetail() {
  if (!detail_) return;
  const DetailResult result = CloseStockDetail(detail_);  // writes the quote into the cache
  if (result.changed && !gone() && list_.IsAlive())
    SetQuoteRowStarsOfCode(list_.body(), result.record.code, MarketStarCell(screen_.category), result.in_mypage);
}

void CBaseMarketInfoWnd::PostToOwner(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (owner_ && owner_->IsAlive()) owner_->Post(message, wParam, lParam);
}

void CBaseMarketInfoWnd::OnDestroyWindow() {
  guard_.Retire();
  CloseDetail();
  if (screen_.refresh_timer > 0) KillTimer(uintptr_t(screen_.refresh_timer));
  KillTimer(kMarketNetworkTimer);
  save_.Cancel(kMarketSaveWaitMs);
}

LRESULT CBaseMarketInfoWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == uintptr_t(screen_.refresh_timer)) OnRefreshTimer();
      else if (wParam == kMarketNetworkTimer) OnNetworkTimer();
      return 0;
    case WM_MOBILELIST_CLICK:
      OnClick(int(lParam), int(int16_t(HIWORD(wParam))));
      return 0;
    case WM_DETAIL_CLOSED:
      CloseDetail();
      return 0;
    case WM_SCREEN_BACK:
      // Back closes an open detail (keeping its quote), as on MyPage;
      // otherwise there is nothing to go back to and the screen ends the viewer.
      if (detail_) CloseDetail();
      else PostToOwner(WM_COMMAND, kCmdExit, 0);
      return 0;
    case WM_SIZE:
      FitList();
      return 0;
    case WM_PAINT: {
      PaintScope paint(*this);
      paint.dc().FillSolid(ClientRect(), kListBackground);
      return 0;
    }
    case WM_DESTROY:
      OnDestroyWindow();
      return 0;
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
