#pragma once
// The base of the five market list windows: one CMobileList filling the
// window, the cached rows first and then the server's, the refresh timers,
// the request guard, the background cache save and the MyPage stars.
//
// Refresh: RestartRefresh arms the list's refresh timer (100 ms); its tick
// reports WM_LIST_UPDATE_BEGIN to the owner, shows the cached rows while
// nothing came from the network in this run, and asks for a network refresh;
// that arms timer 1006 (100 ms) unless a request runs, and its tick fetches.

#include <cstdint>
#include <vector>

#include <memory>

#include "app/common/request_guard.h"
#include "app/detail/stock_detail_dlg.h"
#include "app/market/market_cache_save.h"
#include "app/market/market_row_plan.h"
#include "app/market/market_sub_screens.h"
#include "controls/mobile_list.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/window.h"
#include "protocol/market_requests.h"
#include "protocol/row_key.h"

namespace brantel {

class CBaseMarketInfoWnd : public Window, public MarketListTarget {
 public:
  explicit CBaseMarketInfoWnd(const MarketSubScreen& screen);
  ~CBaseMarketInfoWnd() override;

  // A hidden child of `owner_dialog` (which gets the update messages) at `rect`.
  bool Create(Window* owner_dialog, const Rect& rect, ResourceLibraryRef library);

  void RestartRefresh();
  void NetworkRefresh();
  // The stamp of this list's data kind as stored (the ranking: of its sub-kind).
  virtual WideText LastUpdateText() const;

  const MarketSubScreen& screen() const { return screen_; }
  CMobileList& list() { return list_; }
  int LoadedFromNetwork() const { return save_.LoadedCount(CurrentSubKind()); }
  bool IsBusy() const { return guard_.running(); }
  const WideText& last_update() const { return last_update_; }
  CMStockDetailDlg* detail() const { return detail_.get(); }

  // MarketListTarget.
  int32_t category() const override { return screen_.category; }
  HWND owner() const override { return owner_ ? owner_->hwnd() : 0; }
  WideText LastUpdate() const override { return last_update_; }
  void SetLastUpdate(WideView stamp) override { last_update_ = WideText(stamp); }
  void ReceiveRows(std::vector<StockRecord>&& rows) override;

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  virtual int32_t CurrentSubKind() const { return 0; }
  // The leading caption row (the ranking's); empty for none.
  virtual WideText Caption() const { return {}; }
  virtual void LoadCachedRows(std::vector<StockRecord>& out);
  virtual WideText CurrencyUnitText() const { return {}; }
  // A tap on a row's cell other than the star (the stock lists open the detail).
  virtual void OnRowTap(const RowKey& key) { (void)key; }
  // The fetch (the network request); the ranking keeps its sub-kind for it.
  virtual int32_t Fetch() { return FetchMarketList(*this); }
  // Stops everything this window runs before it goes (timers, the save).
  virtual void OnDestroyWindow();

  // The stamp goes back to the one stored for this list's kind.
  void ReloadLastUpdate() { last_update_ = LastUpdateText(); }
  // The window went while its request ran: the answer is dropped.
  bool gone() const { return guard_.retired(); }
  void FillRows(const std::vector<StockRecord>& records);
  // Hands a network answer's rows to the background save (once per run).
  void SaveRows(const std::vector<StockRecord>& rows) { save_.Start(rows, last_update_, sub_kind()); }
  // Opens the stock detail on a row (the index and ranking lists).
  void OpenDetail(const RowKey& key);
  Window* owner_dialog() const { return owner_; }
  ResourceLibraryRef library() const { return library_; }

 private:
  void BuildHeader();
  // The list, its header and body follow the window's size.
  void FitList();
  void OnRefreshTimer();
  void OnNetworkTimer();
  void OnClick(int row, int cell);
  void OnStarTap(int row, const RowKey& key);
  void PostToOwner(uint32_t message, WPARAM wParam, LPARAM lParam);
  // Takes the detail's result back (its quote into the cache, the star).
  void CloseDetail();

  const MarketSubScreen& screen_;
  Window* owner_ = nullptr;
  ResourceLibraryRef library_;
  CMobileList list_;
  WideText last_update_;
  RequestGuard guard_;  // the list request
  MarketCacheSave save_;
  std::unique_ptr<CMStockDetailDlg> detail_;  // while open
};

}  // namespace brantel
