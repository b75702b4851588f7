#pragma once
// CMStockDetailDlg: the full-screen stock detail, opened modeless by a list
// screen on one record. Portrait shows the title band with the MyPage star,
// the scrolling panel and the menu bar; landscape (by the motion sensor,
// command 40014 or a tap on the small chart) shows the large chart with the
// refresh and period buttons. The owner gets WM_DETAIL_CLOSED when the user
// closes it (also by the back key), reads the result and destroys it; the
// end and talk keys and the close request post the exit command to it.

#include <memory>
#include <optional>

#include "app/detail/chart_files.h"
#include "app/detail/detail_panel.h"
#include "app/detail/detail_spinner.h"
#include "app/detail/detail_view_state.h"
#include "app/detail/graph_menu.h"
#include "app/common/menu_commands.h"
#include "app/common/request_guard.h"
#include "app/dialogs/menu_bar_wnd.h"
#include "app/dialogs/version_info_dlg.h"
#include "app/rotation.h"
#include "platform/ui/dialog.h"

namespace brantel {

inline constexpr int kStockDetailTemplate = 111;
inline constexpr uintptr_t kDetailRequestTimer = 9811;
inline constexpr int kDetailMenu = 234;

// The title-bar button's command; menu 234's are in menu_commands.h.
inline constexpr uint32_t kCmdTitleClose = 0x10000001;

class CMStockDetailDlg : public Dialog {
 public:
  CMStockDetailDlg(ResourceLibraryRef library, Window* owner);
  ~CMStockDetailDlg() override;

  // Before Open: the record on show and whether it is in MyPage, and the
  // text shown after "Updated : ".
  void SetRecord(const StockDetailRecord& record, bool in_mypage);
  void SetUpdateText(WideView text) { view_.update_text = WideText(text); }
  // Creates the dialog modeless over its owner and shows it.
  bool Open();

  // The result the owner reads after WM_DETAIL_CLOSED.
  const StockDetailRecord& record() const { return view_.record; }
  bool in_mypage() const { return view_.in_mypage; }
  bool changed() const { return view_.changed; }

  // What it shows, for the owner's tests and the benchmark.
  const DetailViewState& view() const { return view_; }
  CMStockDetailWnd& panel() { return panel_; }
  const ChartFiles& chart_files() const { return charts_; }
  const Surface& large_chart() const { return large_chart_; }
  CGraphMenuDlg* period_menu() { return period_menu_.get(); }
  CVersionInfoDlg* version_dialog() { return version_.get(); }
  bool request_running() const { return guard_.running(); }
  bool loading_animation_running() const { return spinner_.running(); }

  // Takes a detail answer as the request does when it succeeds: its daily
  // rows replace the shown ones (the benchmark feeds answers through it).
  void ReceiveAnswer(const DetailAnswer& answer);

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override { RequestClose(); }
  void OnCancel() override { RequestClose(); }

 private:
  void RunDetailRequest();
  void RequestClose();
  void OnCommand(uint32_t command);
  void SwitchOrientation(uint32_t angle);
  void LayoutForOrientation();
  void ClosePeriodMenu();
  void OpenPeriodMenu();
  void OnPress(Point p);
  void OnRelease(Point p);
  void Paint();
  void TearDown();

  ResourceLibraryRef library_;
  Window* owner_;     // as given (a screen or list window); used only to create
  HWND owner_hwnd_ = 0;  // where WM_DETAIL_CLOSED and the exit command go
  DetailViewState view_;
  ChartFiles charts_;
  Surface large_chart_;
  CMStockDetailWnd panel_;
  CMenuBarWnd menu_bar_;
  std::unique_ptr<CGraphMenuDlg> period_menu_;
  std::unique_ptr<CVersionInfoDlg> version_;
  std::unique_ptr<DetailRotation> rotation_;
  DetailSpinner spinner_;
  // The detail request: one at a time, a newer choice runs after it.
  RequestGuard guard_;
  bool torn_down_ = false;
  bool close_posted_ = false;
};

}  // namespace brantel
