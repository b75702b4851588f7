#pragma once
// The base of every full-screen screen of the viewer (the main dialog, the
// MyPage, market and search screens, the MyPage editor, the version dialog):
// full screen without a menu bar, the input-panel button hidden, the
// display kept in portrait while the viewer is in front, and the rules for
// the shell's setting changes.

#include "platform/ui/dialog.h"

namespace brantel {

// The main dialog's show codes for OnShownState.
inline constexpr int kScreenShown = 5;   // SW_SHOW
inline constexpr int kScreenHidden = 0;  // SW_HIDE

class CBaseScreenDlg : public Dialog {
 public:
  // The main dialog tells a screen that it is shown (5) or hidden (0) just
  // before it shows or hides it. Screens override it to start or stop what
  // they do while in front.
  virtual void OnShownState(int show_state) { (void)show_state; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  bool OnInitDialog() override;
};

}  // namespace brantel
