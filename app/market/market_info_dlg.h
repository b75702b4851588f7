#pragma once
// The market information screen (template 105, "MarketInfo Dialog"): a
// child screen of the main dialog below its tab bar. Five market lists, one
// shown at a time, chosen with the sub-screen tab strip; the update bar shows
// the refresh state and the last update; the menu bar carries the commands
// of the list shown.

#include <array>
#include <memory>

#include "app/common/base_screen_dlg.h"
#include "app/dialogs/menu_bar_wnd.h"
#include "app/dialogs/version_info_dlg.h"
#include "app/market/market_list_windows.h"
#include "controls/kw_tab_ctrl.h"
#include "controls/update_bar_wnd.h"

namespace brantel {

inline constexpr char16_t kMarketInfoTitle[] = u"MarketInfo Dialog";
inline constexpr int kMarketTabStripId = 10000;

class CMarketInfoDlg : public CBaseScreenDlg {
 public:
  // `main_dialog` holds the screen and ends the viewer when asked.
  explicit CMarketInfoDlg(Window* main_dialog);
  ~CMarketInfoDlg() override;

  // Creates the screen hidden at `rect` of the main dialog's client area.
  bool Create(const Rect& rect);

  // The main dialog shows (5) or hides (0) the screen; 1 and 5 restart the
  // refresh of the list shown.
  void OnShownState(int show_state) override;
  // Shows the list of sub-screen `code` (11 to 15).
  void SelectSubScreen(int code, int show_state, bool refresh);

  int current_code() const { return code_; }
  CBaseMarketInfoWnd* current_list() const { return current_; }
  CBaseMarketInfoWnd* list_of_code(int code);
  CMarketStockItemWnd& ranking() { return ranking_; }
  CMarketExchangeWnd& exchange() { return exchange_; }
  CUpdateBarWnd& update_bar() { return update_bar_; }
  CKWTabCtrl& tab_strip() { return tabs_; }
  CMenuBarWnd& menu_bar() { return menu_bar_; }
  CVersionInfoDlg* version_dialog() const { return version_.get(); }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  bool OnInitDialog() override;

 private:
  void BuildScreen();
  void BuildTabStrip();
  void Layout();
  void OnCommand(uint32_t command);
  void OnListUpdate(uint32_t message, WPARAM wParam, LPARAM lParam);
  void ShowMenuOf(int code);
  void RebuildCurrencyMenu();
  void ChooseCurrency(uint32_t command);
  void Exit();
  void OnBack(WPARAM from_system_key);
  void ShowVersion();
  void CloseVersion();
  void DestroyInOrder();

  Window* main_dialog_;
  CKWTabCtrl tabs_;
  CMarketStockWnd index_;
  CMarketExchangeWnd exchange_;
  CMarketMoneyWnd money_;
  CMarketFuturesWnd futures_;
  CMarketStockItemWnd ranking_;
  CUpdateBarWnd update_bar_;
  CMenuBarWnd menu_bar_;
  std::unique_ptr<CVersionInfoDlg> version_;
  int code_ = kMarketIndexScreen;
  CBaseMarketInfoWnd* current_ = nullptr;
  bool built_ = false;
  bool exit_asked_ = false;  // an exit waits for a running refresh to end
};

}  // namespace brantel
