#pragma once
// StockUpdater's window: hidden while it checks the manifest, then (unless
// silent) a panel over a still picture of the screen with the overall and
// file progress bars and a cancel or close button, while the work object
// downloads and installs the release on this window's thread.

#include <memory>

#include "controls/ce_button.h"
#include "platform/ui/dialog.h"
#include "updater/ce_progress_ctrl.h"
#include "updater/update_work.h"
#include "updater/updater_command_line.h"
#include "updater/updater_panel.h"

namespace brantel {

inline constexpr char16_t kUpdaterWindowClass[] = u"__BRANTEL_STOCK_UPDATE_WM__";
inline constexpr char16_t kViewerWindowClass[] = u"Brantel_Stock_Class";
inline constexpr uint32_t WM_UPDATE_START = 0x8321;
inline constexpr uintptr_t kStartTimer = 5500;
inline constexpr uintptr_t kPowerTimer = 5600;
inline constexpr int kCloseButtonId = 8876;
inline constexpr int kCancelButtonId = 8877;

class CStockUpdaterDlg : public Dialog {
 public:
  // `services`: the platform's when null (tests may give their own).
  explicit CStockUpdaterDlg(UpdaterCommandLine command_line, UpdateServices* services = nullptr);
  ~CStockUpdaterDlg() override;

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

  // State, for tests and the screenshots.
  const UpdaterPanelState& panel_state() const { return panel_; }
  bool update_in_progress() const { return in_progress_; }
  bool silent() const { return silent_; }
  // The release was not wholly installed (the program's exit status says so).
  bool update_failed() const { return failed_; }
  Point panel_origin() const { return origin_; }
  CUpdateWork* work() const { return work_.get(); }
  CCeProgressCtrl& overall_bar() { return overall_bar_; }
  CCeProgressCtrl& file_bar() { return file_bar_; }
  CCeButton& cancel_button() { return cancel_button_; }
  CCeButton& close_button() { return close_button_; }

  // The download progress callback (path, bytes so far, length).
  void OnDownloadProgress(const std::string& path, uint64_t written, uint64_t length);

 protected:
  bool OnInitDialog() override;

 private:
  void OnStartTimer();
  void OnUpdateStart();
  void OnUpdateProgress(intptr_t code, intptr_t value);
  void OnButton(int id);
  void OnUpdaterClose();
  void ShowOverScreen();
  void Paint();
  void DestroyNow();

  UpdaterCommandLine command_line_;
  std::unique_ptr<UpdateServices> own_services_;
  UpdateServices* services_;
  std::unique_ptr<CUpdateWork> work_;
  UpdaterPanelState panel_;
  UpdaterPanelArt art_;
  Surface panel_surface_;
  Surface screen_picture_;
  Point origin_;
  CCeProgressCtrl overall_bar_;
  CCeProgressCtrl file_bar_;
  CCeButton cancel_button_;
  CCeButton close_button_;
  bool in_progress_ = false;
  bool silent_ = false;
  bool failed_ = false;  // kept past the work object, which goes with the window
  bool ask_first_ = false;
  bool failed_at_start_ = false;  // the check or the edits without downloads failed
  bool running_ = false;      // inside the check, or the download and install phases
  bool closing_ = false;      // WM_UPDATER_CLOSE was handled
  bool close_pending_ = false;  // destroy once the phases have returned
};

}  // namespace brantel
