#pragma once
// The five market list windows. Each is a CBaseMarketInfoWnd with the
// window name, child id, refresh timer and category of its sub-screen; the
// index and ranking lists open the stock detail on a tap, the exchange list
// shows the standard currency's unit, the ranking list has three sub-kinds.

#include "app/market/base_market_info_wnd.h"

namespace brantel {

// Stock index list ("Market Stock Window").
class CMarketStockWnd : public CBaseMarketInfoWnd {
 public:
  CMarketStockWnd();
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void OnRowTap(const RowKey& key) override;
};

// Exchange rates ("Market Exchange Window"), quoted in the standard currency.
class CMarketExchangeWnd : public CBaseMarketInfoWnd {
 public:
  CMarketExchangeWnd();

 protected:
  WideText CurrencyUnitText() const override;
};

// Interest rates ("Market Money Window").
class CMarketMoneyWnd : public CBaseMarketInfoWnd {
 public:
  CMarketMoneyWnd();
};

// Commodities ("Market Futures Window").
class CMarketFuturesWnd : public CBaseMarketInfoWnd {
 public:
  CMarketFuturesWnd();
};

// Stock ranking ("Market StockItem Window"): trading volume (0), trading
// value (1) or market capitalisation (2).
class CMarketStockItemWnd : public CBaseMarketInfoWnd {
 public:
  CMarketStockItemWnd();

  // Chooses the sub-kind, reads its stamp and restarts the refresh.
  void SetRankingSubKind(int32_t sub_kind);
  int32_t ranking_sub_kind() const { return sub_kind_; }
  // The request's sub-kind while one runs, so its rows and stamp stay with it.
  int32_t sub_kind() const override { return IsBusy() ? fetch_sub_kind_ : sub_kind_; }
  void ReceiveRows(std::vector<StockRecord>&& rows) override;

 protected:
  int32_t CurrentSubKind() const override { return sub_kind_; }
  WideText Caption() const override;
  void LoadCachedRows(std::vector<StockRecord>& out) override;
  void OnRowTap(const RowKey& key) override;
  int32_t Fetch() override;

 private:
  int32_t sub_kind_ = kRankingTradeVolume;
  int32_t fetch_sub_kind_ = kRankingTradeVolume;
};

}  // namespace brantel
