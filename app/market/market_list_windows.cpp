#include "app/market/market_list_windows.h"

#include "app/common/market_row_layout.h"
#include "cache/rank_store.h"
#include "protocol/app_messages.h"
#include "protocol/categories.h"
#include "protocol/standard_currency.h"

namespace brantel {

CMarketStockWnd::CMarketStockWnd() : CBaseMarketInfoWnd(*MarketSubScreenOfCode(kMarketIndexScreen)) {}

void CMarketStockWnd::OnRowTap(const RowKey& key) { OpenDetail(key); }

LRESULT CMarketStockWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CBaseMarketInfoWnd::WindowProc(message, wParam, lParam);
  // Commands go on to the market screen after this list's own handling.
  if (message == WM_COMMAND && owner_dialog() && owner_dialog()->IsAlive()) owner_dialog()->Send(message, wParam, lParam);
  return result;
}

CMarketExchangeWnd::CMarketExchangeWnd() : CBaseMarketInfoWnd(*MarketSubScreenOfCode(kMarketExchangeScreen)) {}

WideText CMarketExchangeWnd::CurrencyUnitText() const { return CurrencyUnit(StandardCurrencyCode()); }

CMarketMoneyWnd::CMarketMoneyWnd() : CBaseMarketInfoWnd(*MarketSubScreenOfCode(kMarketInterestScreen)) {}

CMarketFuturesWnd::CMarketFuturesWnd() : CBaseMarketInfoWnd(*MarketSubScreenOfCode(kMarketCommodityScreen)) {}

CMarketStockItemWnd::CMarketStockItemWnd() : CBaseMarketInfoWnd(*MarketSubScreenOfCode(kMarketRankingScreen)) {}

void CMarketStockItemWnd::SetRankingSubKind(int32_t sub_kind) {
  if (sub_kind < kRankingTradeVolume || sub_kind > kRankingMarketCap) return;
  sub_kind_ = sub_kind;
  ReloadLastUpdate();
  RestartRefresh();
}

WideText CMarketStockItemWnd::Caption() const { return RankingCaption(sub_kind_); }

void CMarketStockItemWnd::LoadCachedRows(std::vector<StockRecord>& out) {
  LoadStockRank(kCategoryStock, sub_kind_, out);
}

void CMarketStockItemWnd::OnRowTap(const RowKey& key) { OpenDetail(key); }

int32_t CMarketStockItemWnd::Fetch() {
  fetch_sub_kind_ = sub_kind_;
  const int32_t result = FetchMarketList(*this);
  // The sub-kind changed while the request ran: ask again for the one chosen.
  if (sub_kind_ != fetch_sub_kind_ && !gone()) {
    ReloadLastUpdate();
    RestartRefresh();
  }
  return result;
}

void CMarketStockItemWnd::ReceiveRows(std::vector<StockRecord>&& rows) {
  if (rows.empty() || gone()) return;
  if (sub_kind_ == fetch_sub_kind_) FillRows(rows);
  SaveRows(rows);
}

}  // namespace brantel
