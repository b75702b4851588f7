#pragma once
// The stock search screen: a child screen of the main dialog (template 106),
// below its tab bar. The user types part of a code or a name; the master list
// on the device answers as the text changes (also while a syllable is being
// composed) with at most 30 stocks. A star tap adds a stock to MyPage or
// takes it off; a tap elsewhere on a row opens its detail.

#include <memory>
#include <vector>

#include "app/common/base_screen_dlg.h"
#include "app/common/menu_commands.h"
#include "app/common/request_guard.h"
#include "app/common/screen_layout.h"
#include "app/detail/detail_opener.h"
#include "app/dialogs/menu_bar_wnd.h"
#include "app/dialogs/version_info_dlg.h"
#include "app/search/search_edit.h"
#include "app/search/search_hint.h"
#include "app/search/search_results.h"
#include "cache/master_parser.h"
#include "controls/ce_button.h"
#include "controls/mobile_list.h"
#include "controls/update_bar_wnd.h"

namespace brantel {

inline constexpr int kSearchTemplate = 106;
inline constexpr int kSearchEditId = 11220;
inline constexpr int kSearchButtonId = 11002;
inline constexpr int kSearchListId = 11221;
inline constexpr uint32_t kSearchMenu = 40016;
inline constexpr int kSearchHintString = 103;

class CSearchDlg : public CBaseScreenDlg {
 public:
  // `main_dialog` holds the screen and ends the viewer when asked; `master`
  // is the list searched (the process-wide one in the viewer).
  explicit CSearchDlg(Window* main_dialog, CParseMaster& master = GetMasterParser());
  ~CSearchDlg() override;

  // Creates the screen hidden at `rect` of the main dialog's client area.
  bool Create(const Rect& rect);

  // Shown (5): input panel up, the edit emptied with the hint back and all
  // selected, menu 40016. Hidden (0): input panel down.
  void OnShownState(int show_state) override;

  // For tests and tools.
  CSearchEdit& edit() { return edit_; }
  CMobileList& list() { return list_; }
  bool hint_showing() const { return hint_.showing(); }
  CMStockDetailDlg* detail() const { return detail_.get(); }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  bool OnInitDialog() override;

 private:
  void Layout();
  void Apply(const SearchEditActions& actions);
  void SetEditText(WideView text);
  void ShowHint();
  void Search(WideView text);
  void ClearList();
  void OnComposing();
  void OnListClick(int row, int cell);
  void OnStarTap(int row);
  void OnRowTap(int row);
  void SetRowStar(int row, bool in_mypage);
  void CloseDetail();
  void OpenVersion();
  void CloseVersion();
  void OnCommand(uint32_t command);
  void OnBack();
  void TearDown();

  Window* main_dialog_;
  CParseMaster& master_;
  SearchHintState hint_;
  CSearchEdit edit_;
  CCeButton button_;
  CMobileList list_;
  CUpdateBarWnd update_bar_;
  CMenuBarWnd menu_bar_;
  std::unique_ptr<CVersionInfoDlg> version_;
  std::unique_ptr<CMStockDetailDlg> detail_;
  WideText last_search_;  // the text the list shows the results of
  RequestGuard guard_;  // the MyPage list request of a star tap
  bool own_change_ = false;  // the screen is setting the edit text itself
  bool torn_down_ = false;
};

}  // namespace brantel
