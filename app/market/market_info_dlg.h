#pragma once
// The market information screen: a child screen of the main dialog (template 105), below its tab bar.

#include "app/startup/base_screen_dlg.h"

namespace brantel {

class CMarketInfoDlg : public CBaseScreenDlg {
 public:
  // `main_dialog` holds the screen and ends the viewer when asked.
  explicit CMarketInfoDlg(Window* main_dialog);

  // Creates the screen hidden at `rect` of the main dialog's client area.
  bool Create(const Rect& rect);

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  Window* main_dialog_;
};

}  // namespace brantel
