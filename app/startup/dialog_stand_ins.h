#pragma once
// Start-up's message box, loading dialog and help dialog, kept small until
// the viewer's shared dialogs take their place.

#include "platform/ui/dialog.h"

namespace brantel {

// The numbered message box: string entry `number` of the resource library,
// caption "증권정보 NUV". Style 0: OK, returns 1; style 1: Yes / No,
// returns 6 or 7.
int ShowNumberedMessage(Window* owner, int number, int style);
// A stop box with a fixed text and the OK button (no resource library needed).
void ShowPlainMessage(Window* owner, WideView text);

// The loading dialog over the owner while start-up runs.
class CLoadingDlg : public Dialog {
 public:
  explicit CLoadingDlg(Window* owner);
  bool Create();
  void Close();
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  Window* owner_;
  int frame_ = 0;
};

// The help shown at first start: "다시 보지않기" and OK; a tick writes
// display_info = 1; closing posts WM_HELP_CLOSED to the owner.
class CHelpDlg : public Dialog {
 public:
  explicit CHelpDlg(Window* owner);
  bool Create();
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  Window* owner_;
  bool ticked_ = false;
  bool ok_pressed_ = false;
};

}  // namespace brantel
