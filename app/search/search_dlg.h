#pragma once
// The stock search screen: a child screen of the main dialog (template 106), below its tab bar.

#include "app/startup/base_screen_dlg.h"

namespace brantel {

class CSearchDlg : public CBaseScreenDlg {
 public:
  // `main_dialog` holds the screen and ends the viewer when asked.
  explicit CSearchDlg(Window* main_dialog);

  // Creates the screen hidden at `rect` of the main dialog's client area.
  bool Create(const Rect& rect);

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  Window* main_dialog_;
};

}  // namespace brantel
