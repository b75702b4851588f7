#pragma once
// The MyPage screen (the watch list): a child screen of the main dialog
// (template 104), below its tab bar. It shows the cached rows of the watch
// list grouped by category, then the server's (FetchMyPageList), stores the
// first answer of the run in the background, opens the stock detail on a
// stock or index row and the editor from its menu.
//
// Timers: 1000 reload from the cache (then a network refresh), 1006 the
// network refresh, 1007 a postponed exit while a refresh runs.

#include <memory>
#include <vector>

#include "app/common/base_screen_dlg.h"
#include "app/common/empty_list_hint.h"
#include "app/common/menu_commands.h"
#include "app/common/request_guard.h"
#include "app/common/screen_layout.h"
#include "app/detail/stock_detail_dlg.h"
#include "app/dialogs/menu_bar_wnd.h"
#include "app/dialogs/version_info_dlg.h"
#include "app/mypage/mypage_background_store.h"
#include "controls/mobile_list.h"
#include "controls/update_bar_wnd.h"

namespace brantel {

class CMyPageEditDlg;

inline constexpr int kMyPageTemplate = 104;
inline constexpr uintptr_t kMyPageReloadTimer = 1000;
inline constexpr uintptr_t kMyPageNetworkTimer = 1006;
inline constexpr uintptr_t kMyPageExitTimer = 1007;
inline constexpr uint32_t kMyPageTimerMs = 100;
inline constexpr uint32_t kMyPageExitRetryMs = 2000;
inline constexpr uint32_t kMyPageMenu = 40014;
inline constexpr int kMyPageListId = 10002;
inline constexpr int kMyPageEditButton = 11205;
// Shown over the empty watch list.
inline constexpr char16_t kMyPageEmptyHint[] = u"'시장정보'나 '종목검색'에서 별을 선택해 등록하세요";
inline constexpr int kMyPageEmptyHintTop = 20;

class CMyPageDlg : public CBaseScreenDlg {
 public:
  // `main_dialog` holds the screen and ends the viewer when asked.
  explicit CMyPageDlg(Window* main_dialog);
  ~CMyPageDlg() override;

  // Creates the screen hidden at `rect` of the main dialog's client area.
  bool Create(const Rect& rect);

  void OnShownState(int show_state) override;
  // Fills the list from records (a reload, an answer): a section row at each
  // change of category, an entry row per shown record. No record leaves the
  // rows as they are, unless `empty_clears` (a reload: the list is empty).
  void Fill(const std::vector<StockRecord>& records, bool empty_clears);
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

  // What the tests look at.
  CMobileList& list() { return list_; }
  CUpdateBarWnd& update_bar() { return update_bar_; }
  CMenuBarWnd& menu_bar() { return menu_bar_; }
  CMyPageEditDlg* editor() const { return editor_.get(); }
  CMStockDetailDlg* detail() const { return detail_.get(); }
  CVersionInfoDlg* version() const { return version_.get(); }
  const MyPageBackgroundStore& store() const { return store_; }
  bool busy() const { return guard_.running(); }
  const WideText& last_update() const { return last_update_; }

 protected:
  bool OnInitDialog() override;

 private:
  void Layout();
  void ReloadFromCache();
  void SetLastUpdate(WideView stamp);
  void NetworkRefresh();
  void OnRowTap(int row);
  void CloseDetail();
  void OpenEditor();
  void CloseEditor(bool saved);
  void OpenVersion();
  void CloseVersion();
  void OnBack(WPARAM from_system_key);
  void ExitViewer();
  void OnCommand(uint32_t command);
  void TearDown();
  void ShowEmptyHint();

  Window* main_dialog_;
  CMobileList list_;
  CEmptyListHint empty_hint_;
  CUpdateBarWnd update_bar_;
  CMenuBarWnd menu_bar_;
  std::unique_ptr<CMyPageEditDlg> editor_;
  std::unique_ptr<CVersionInfoDlg> version_;
  std::unique_ptr<CMStockDetailDlg> detail_;
  WideText last_update_;
  RequestGuard guard_;  // the network refresh; an exit waits for it to end
  bool torn_down_ = false;
  MyPageBackgroundStore store_;
};

}  // namespace brantel
