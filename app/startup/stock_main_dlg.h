#pragma once
// The viewer's main dialog: its one top-level window (class
// "Brantel_Stock_Class"). It brings the server selection, the data
// connection, the cache and the master list into a usable state while its
// loading dialog animates, then holds the tab bar and the three screens the
// user switches between, hands over to the updater and closes everything in
// order.

#include <memory>
#include <optional>

#include "app/common/base_screen_dlg.h"
#include "app/dialogs/help_dlg.h"
#include "app/dialogs/loading_dlg.h"
#include "app/rotation.h"
#include "controls/kw_tab_ctrl.h"
#include "protocol/data_connection.h"

namespace brantel {

class CMyPageDlg;
class CMarketInfoDlg;
class CSearchDlg;

inline constexpr char16_t kViewerTitle[] = u"증권정보 NUV";
inline constexpr uintptr_t kStartupTimer = 1005;
inline constexpr uint32_t kStartupTimerMs = 100;
inline constexpr int kTabBarId = 10000;
// Screen codes of ShowScreen and the tabs that choose them.
inline constexpr int kScreenMyPage = 0;
inline constexpr int kScreenMarket = 10;
inline constexpr int kScreenSearch = 30;
inline constexpr int kTabMyPage = 11000;
inline constexpr int kTabMarket = 11001;
inline constexpr int kTabSearch = 11002;
// Messages the main dialog answers that no other part names.
inline constexpr uint32_t kMainDialogQuery = 0x800C;

class CStockMainDlg : public CBaseScreenDlg {
 public:
  // `command_line` is the viewer's own (the updater's markers in it keep the
  // updater from being started).
  explicit CStockMainDlg(WideView command_line);
  ~CStockMainDlg() override;

  // Hides the current screen and shows the one of `code` (0 MyPage, 10
  // market information, 30 search); any other code leaves none shown.
  void ShowScreen(int code);
  CBaseScreenDlg* current_screen() const { return current_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(Message* msg) override;

 protected:
  bool OnInitDialog() override;

 private:
  bool Initialize();
  void Quit();
  bool CheckConnection();
  void EnsureConnection();
  intptr_t AskToConnect();
  void BuildScreensAndTabBar();
  void OnFirstTick();
  void CloseLoading();
  void OnCloseRequest();
  void PostBackToScreen(WPARAM from_system_key);
  void EndViewer();
  void TearDown();

  WideText command_line_;
  std::optional<ViewerRotationLock> rotation_lock_;
  DataConnection connection_;
  WideText connection_url_;
  std::unique_ptr<CLoadingDlg> loading_;
  std::unique_ptr<CHelpDlg> help_;
  CKWTabCtrl tab_bar_;
  std::unique_ptr<CMyPageDlg> mypage_;
  std::unique_ptr<CMarketInfoDlg> market_;
  std::unique_ptr<CSearchDlg> search_;
  CBaseScreenDlg* current_ = nullptr;
  WideText master_stamp_;
  bool ending_ = false;  // the modal loop was asked to end
  bool torn_down_ = false;
};

}  // namespace brantel
